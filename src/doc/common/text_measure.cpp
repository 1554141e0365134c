#include "doc/common/text_measure.h"

#include "doc/common/text_codec.h"

namespace oryx::doc {

int TextMeasure::Width(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto found = measured_.find(bytes);
    if (found != measured_.end()) return found->second;
    const int width = metrics_.horizontalAdvance(DisplayText(bytes));
    measured_.emplace(std::string(bytes), width);
    return width;
}

}  // namespace oryx::doc
