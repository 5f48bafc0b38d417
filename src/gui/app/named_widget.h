#pragma once

namespace varnot {

// Gives a control the object name it is known by (tests find controls by it).
template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace varnot
