#include "CharWidths.h"

namespace engine {

std::int32_t FontWidths::width(char32_t code) const
{
    if (code >= firstTableCode && code <= lastTableCode)
        return table_[code - firstTableCode];
    const std::lock_guard lock(mutex_);
    const auto found = asked_.find(code);
    if (found != asked_.end())
        return found->second;
    const std::int32_t w = query_ ? query_(code) : 0;
    asked_.emplace(code, w);
    return w;
}

ThreadWidths::ThreadWidths(const FontWidths& font)
    : font_(font), unknownPage_(std::make_unique<Page>()), pages_(pageMask + 1)
{
    unknownPage_->fill(unknown);
    for (auto& page : pages_)
        page = unknownPage_->data();
}

std::int64_t ThreadWidths::resolve(char32_t code)
{
    const std::size_t page = (code >> 8) & pageMask;
    if (pages_[page] == unknownPage_->data()) {
        owned_.push_back(std::make_unique<Page>(*unknownPage_));
        pages_[page] = owned_.back()->data();
    }
    return pages_[page][code & 0xFF] = font_.width(code);
}

}  // namespace engine
