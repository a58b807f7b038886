#include "core/windows/FormParts.h"

namespace zorvik {

platform::WindowSpec CentredWindowSpec(const char* name, const char* caption,
                                       platform::WindowFrame frame, bool alwaysOnTop) {
    platform::WindowSpec desc;
    desc.name = name;
    desc.caption = caption;
    desc.frame = frame;
    desc.alwaysOnTop = alwaysOnTop;
    desc.centred = true;
    return desc;
}

platform::ControlSpec ControlAt(const char* name, platform::Rect bounds, const char* text,
                                platform::GroupBox* parent) {
    platform::ControlSpec desc;
    desc.name = name;
    desc.bounds = bounds;
    desc.text = text;
    desc.parent = parent;
    return desc;
}

platform::Button& MakeButton(platform::Window& form, const char* name, platform::Rect bounds,
                             const char* text) {
    platform::ButtonSpec desc;
    static_cast<platform::ControlSpec&>(desc) = ControlAt(name, bounds, text);
    return form.AddButton(desc);
}

}  // namespace zorvik
