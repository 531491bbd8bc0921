#pragma once

#include "platform/controls/Label.h"
#include "platform/widgets/WidgetBinder.h"

#include <QLabel>
#include <QWidget>

namespace tavlo {

// A widget of type W named after its control and bound to it, as most of the
// views' widgets are: boundWidget<QLineEdit>(*form.txtName, parent).
// UI thread only.
template <typename W, typename State>
W* boundWidget(State& state, QWidget* parent)
{
    auto* w = new W(parent);
    w->setObjectName(state.name());
    WidgetBinder::bind(state, *w);
    return w;
}

inline QLabel* boundLabel(Label& state, QWidget* parent) { return boundWidget<QLabel>(state, parent); }

}  // namespace tavlo
