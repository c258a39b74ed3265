#include "LineLoop.h"

#include "LineLoopImpl.h"

namespace engine {

LineLoop::LineLoop(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth,
                   const std::vector<LaneGroup>* lanes)
    : impl_(std::make_unique<Impl>(fonts, maxWidth, lanes))
{
}

LineLoop::~LineLoop() = default;

void LineLoop::measure(const unsigned char* data, std::size_t size, bool beginsInsideLine, Encoding& reading,
                       PieceResult& out, StreamTally& tally)
{
    impl_->measure(data, size, beginsInsideLine, reading, out, tally);
}

}  // namespace engine
