// Tooltip measurement with the renderer's font table.
#include "ui/fonts.h"
#include "ui/input/pointer_dispatcher.h"

namespace zentrik::ui {

TextMeasure default_text_measure() {
    return [](const std::string& text, int font, int width) {
        const TextSize size = measure_text(text, font, width);
        return std::pair<int, int>{size.width, size.height};
    };
}

}  // namespace zentrik::ui
