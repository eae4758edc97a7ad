#include "ui/layout_labels.h"

#include "graphics/controls/label.h"

namespace kv {

void SetLabelText(TLabel& label, const LabelText& text) {
    label.SetAutoSize(false);
    ApplyLayoutFont(label.Font(), text.font);
    label.SetCaption(text.caption);
    label.SetAutoSize(true);
}

}  // namespace kv
