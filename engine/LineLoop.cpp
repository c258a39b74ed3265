#include "LineLoop.h"

#include "LineLoopImpl.h"

namespace engine {

LineLoop::LineLoop(const FontWidths& font, std::optional<std::int64_t> maxWidth)
    : impl_(std::make_unique<Impl>(font, maxWidth))
{
}

LineLoop::~LineLoop() = default;

void LineLoop::measure(const unsigned char* data, std::size_t size, bool beginsInsideLine, ReadMode& mode,
                       PieceResult& out, StreamTally& tally)
{
    impl_->measure(data, size, beginsInsideLine, mode, out, tally);
}

}  // namespace engine
