#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"
#include "platform/widgets/WidgetBinder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <initializer_list>
#include <utility>

namespace tavlo {

// A widget of type W named after its control and bound to it, as most of the
// views' widgets are: boundWidget<QLineEdit>(*form.nameBox, parent).
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

// A dialog's push button that Enter does not press: a box the user is in
// may still have to put its text right when it loses the focus.
inline QPushButton* dialogButton(Button& state, QWidget* parent)
{
    auto* b = boundWidget<QPushButton>(state, parent);
    b->setAutoDefault(false);
    return b;
}

// A text box whose focus the window's logic follows (its entered and left
// handlers run as the user moves in and out of it).
inline QLineEdit* focusedTextBox(TextBox& state, QWidget* parent)
{
    auto* edit = boundWidget<QLineEdit>(state, parent);
    WidgetBinder::bindFocus(state, *edit);
    return edit;
}

// A dialog's buttons, at the right end of a row of their own.
inline QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* b : buttons)
        row->addWidget(b);
    return row;
}

// Caption and text box pairs, a row each from `row` on, captions in column 0
// and boxes at least `boxChars` letters wide in column 1; the `secret` box, if
// one of them, shows dots for what is typed. Returns the next row.
inline int addTextRows(QGridLayout& grid, QWidget* parent, std::initializer_list<std::pair<Label*, TextBox*>> fields,
                       int row, int boxChars, const TextBox* secret = nullptr)
{
    for (const auto& [label, box] : fields) {
        grid.addWidget(boundLabel(*label, parent), row, 0);
        auto* edit = boundWidget<QLineEdit>(*box, parent);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * boxChars);
        if (box == secret)
            edit->setEchoMode(QLineEdit::Password);
        grid.addWidget(edit, row++, 1);
    }
    return row;
}

}  // namespace tavlo
