#include "platform/widgets/WidgetBinder.h"

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/Slider.h"
#include "platform/controls/TextBox.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QSet>
#include <QSignalBlocker>
#include <QStatusBar>

#include <algorithm>
#include <memory>

namespace tavlo {

namespace {

QColor toQColor(unsigned rgb) { return QColor::fromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void setBold(QWidget& widget, bool bold)
{
    if (widget.font().bold() == bold)
        return;
    QFont f = widget.font();
    f.setBold(bold);
    widget.setFont(f);
}

// Runs `sync` now and on every change of the state, for as long as the widget lives.
template <typename Sync>
void follow(Control& state, QObject& widget, Sync sync)
{
    QObject::connect(&state, &Control::changed, &widget, sync);
    sync();
}

void bindAction(MenuItem& item, QAction& action)
{
    QPointer<MenuItem> state(&item);
    auto sync = [state, a = &action] {
        if (!state)
            return;
        if (!a->isSeparator())
            a->setText(state->caption());
        a->setCheckable(state->checked());
        a->setChecked(state->checked());
        a->setEnabled(state->isEnabled());
        a->setVisible(state->isVisible());
        a->setToolTip(state->toolTip());
    };
    follow(item, action, sync);
    QObject::connect(&action, &QAction::triggered, &action, [state, sync] {
        if (state)
            state->click();
        sync();  // undo Qt's own toggling of the check mark; the state decides
    });
}

// A left-button release over a label is the label's click.
class LabelClicks : public QObject {
public:
    LabelClicks(Label& state, QLabel& widget) : QObject(&widget), m_state(&state) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && m_state) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto* w = static_cast<QWidget*>(watched);
            if (mouse->button() == Qt::LeftButton && w->rect().contains(mouse->position().toPoint()))
                m_state->click();
        }
        return false;
    }

private:
    QPointer<Label> m_state;
};

// The widget's focus changes, told to its control's form.
class FocusMoves : public QObject {
public:
    FocusMoves(Control& state, QWidget& widget) : QObject(&widget), m_state(&state) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!m_state)
            return false;
        if (event->type() == QEvent::FocusIn) {
            m_state->setFocus();
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            // Going to a widget bound to no control still leaves this one.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && m_state->hasFocus()) {
                if (auto* form = qobject_cast<Form*>(m_state->parent()))
                    form->setFocusTo(nullptr);
            }
        }
        return false;
    }

private:
    QPointer<Control> m_state;
};

}  // namespace

void WidgetBinder::applyCommon(const Control& state, QWidget& widget)
{
    widget.setEnabled(state.isEnabled());
    // Only a tip the window changes replaces one the view gave the widget.
    static const char* const kShownTip = "tavloStateToolTip";
    if (widget.property(kShownTip).toString() != state.toolTip()) {
        widget.setProperty(kShownTip, state.toolTip());
        widget.setToolTip(state.toolTip());
    }
    // Showing a widget that has no parent yet would open it as a window of its own.
    if (!state.isVisible())
        widget.setVisible(false);
    else if (widget.parentWidget())
        widget.setVisible(true);
}

void WidgetBinder::applyColours(QWidget& widget, std::optional<unsigned> fore, std::optional<unsigned> back)
{
    // Only the roles set here override the inherited palette. A background
    // without a text colour gets black or white text, whichever reads better
    // on it (a switch painted dark red keeps its caption legible).
    if (back && !fore) {
        const QColor b = toQColor(*back);
        fore = (b.red() * 299 + b.green() * 587 + b.blue() * 114) / 1000 < 128 ? 0xFFFFFFu : 0u;
    }
    QPalette pal;
    if (fore) {
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            pal.setColor(role, toQColor(*fore));
    }
    if (back) {
        for (auto role : {QPalette::Window, QPalette::Button})
            pal.setColor(role, toQColor(*back));
    }
    widget.setPalette(pal);
    widget.setAutoFillBackground(back.has_value());
}

void WidgetBinder::bind(Slider& state, QAbstractSlider& widget, SliderMapping mapping)
{
    QPointer<Slider> s(&state);
    QAbstractSlider* w = &widget;
    // Mirroring is its own inverse, so one function maps both ways.
    auto map = [s, mapping](int v) { return mapping == SliderMapping::Mirrored && s ? s->min() + s->max() - v : v; };
    auto moved = std::make_shared<bool>(false);
    auto sync = [s, w, map] {
        if (!s)
            return;
        QSignalBlocker block(w);
        if (w->minimum() != s->min() || w->maximum() != s->max()) {
            w->setRange(s->min(), s->max());
            w->setPageStep(std::max(1, (s->max() - s->min()) / 10));
        }
        // While the user holds the handle it stays where the user put it.
        if (!w->isSliderDown())
            w->setValue(map(s->value()));
        applyCommon(*s, *w);
    };
    follow(state, widget, sync);

    QObject::connect(w, &QAbstractSlider::sliderPressed, w, [moved] { *moved = false; });
    QObject::connect(w, &QAbstractSlider::sliderMoved, w, [s, map, moved](int v) {
        if (!s)
            return;
        *moved = true;
        s->scrollTo(map(v));
    });
    QObject::connect(w, &QAbstractSlider::sliderReleased, w, [s, w, map, moved, sync] {
        if (s && *moved) {
            *moved = false;
            s->scrollTo(map(w->value()));
            if (s)
                s->release();
        }
        sync();
    });
    QObject::connect(w, &QAbstractSlider::valueChanged, w, [s, w, map, sync](int v) {
        if (!s || w->isSliderDown())
            return;
        s->setValue(map(v));
        sync();
    });
}

void WidgetBinder::bind(Button& state, QAbstractButton& widget)
{
    QPointer<Button> b(&state);
    QAbstractButton* w = &widget;
    auto sync = [b, w] {
        if (!b)
            return;
        QSignalBlocker block(w);
        w->setText(b->caption());
        const bool checkable = b->kind() != Button::Kind::Push;
        w->setCheckable(checkable);
        if (checkable)
            w->setChecked(b->value() != 0);
        applyColours(*w, b->foreColour(), b->backColour());
        applyCommon(*b, *w);
    };
    follow(state, widget, sync);
    QObject::connect(w, &QAbstractButton::clicked, w, [b, sync](bool checked) {
        if (!b)
            return;
        switch (b->kind()) {
        case Button::Kind::Push:
            b->press();
            break;
        case Button::Kind::Check:
            b->setValue(checked ? 1 : 0);
            break;
        case Button::Kind::Option:
            // Clicking the selected option again leaves it selected.
            b->setValue(1);
            break;
        }
        sync();
    });
}

void WidgetBinder::bind(Label& state, QLabel& widget)
{
    QPointer<Label> l(&state);
    QLabel* w = &widget;
    w->setTextFormat(Qt::PlainText);
    follow(state, widget, [l, w] {
        if (!l)
            return;
        w->setText(l->text());
        setBold(*w, l->bold());
        applyColours(*w, l->foreColour(), l->backColour());
        applyCommon(*l, *w);
    });
    if (state.onClick) {
        w->installEventFilter(new LabelClicks(state, *w));
        w->setCursor(Qt::PointingHandCursor);
    }
}

void WidgetBinder::bind(ProgressBar& state, QProgressBar& widget)
{
    QPointer<ProgressBar> p(&state);
    QProgressBar* w = &widget;
    follow(state, widget, [p, w] {
        if (!p)
            return;
        if (w->minimum() != p->min() || w->maximum() != p->max())
            w->setRange(p->min(), p->max());
        w->setValue(p->value());
        applyCommon(*p, *w);
    });
}

void WidgetBinder::bind(TextBox& state, QLineEdit& widget)
{
    QPointer<TextBox> t(&state);
    QLineEdit* w = &widget;
    auto sync = [t, w] {
        if (!t)
            return;
        QSignalBlocker block(w);
        if (w->text() != t->text())  // keeps the cursor where the user types
            w->setText(t->text());
        applyCommon(*t, *w);
    };
    follow(state, widget, sync);
    QObject::connect(w, &QLineEdit::textEdited, w, [t, sync](const QString& text) {
        if (t)
            t->setText(text);
        sync();
    });
    QObject::connect(&state, &TextBox::allSelected, w, [w] { w->selectAll(); });
}

void WidgetBinder::bindFocus(Control& state, QWidget& widget)
{
    widget.installEventFilter(new FocusMoves(state, widget));
    auto* form = qobject_cast<Form*>(state.parent());
    if (!form)
        return;
    QPointer<Control> c(&state);
    QWidget* w = &widget;
    // Asks the form rather than trusting the signal's argument: a handler run
    // by one move may already have moved the focus on. The widget's focus
    // then reaches the state that already has it, which runs nothing.
    QObject::connect(form, &Form::focusChanged, w, [c, w] {
        if (c && c->hasFocus() && !w->hasFocus())
            w->setFocus(Qt::OtherFocusReason);
    });
}

void WidgetBinder::bind(ComboBox& state, QComboBox& widget)
{
    QPointer<ComboBox> c(&state);
    QComboBox* w = &widget;
    auto sync = [c, w] {
        if (!c)
            return;
        QSignalBlocker block(w);
        QStringList shown;
        for (int i = 0; i < w->count(); ++i)
            shown.append(w->itemText(i));
        if (shown != c->items()) {
            w->clear();
            w->addItems(c->items());
        }
        w->setCurrentIndex(c->listIndex());
        applyCommon(*c, *w);
    };
    follow(state, widget, sync);
    QObject::connect(w, &QComboBox::activated, w, [c, sync](int index) {
        if (c)
            c->setListIndex(index);
        sync();
    });
}

void WidgetBinder::bind(StatusBar& state, QStatusBar& widget)
{
    QPointer<StatusBar> s(&state);
    QStatusBar* w = &widget;
    auto panels = std::make_shared<QList<QPointer<QLabel>>>();
    follow(state, widget, [s, w, panels] {
        if (!s)
            return;
        while (panels->size() < s->panelCount()) {
            auto* label = new QLabel(w);
            label->setTextFormat(Qt::PlainText);
            label->setObjectName(s->name() + QStringLiteral("Panel%1").arg(panels->size() + 1));
            // The first panel keeps a modest width; the ones after it share the rest.
            const bool first = panels->isEmpty();
            if (first)
                label->setMinimumWidth(96);
            w->addWidget(label, first ? 0 : 1);
            panels->append(label);
        }
        for (int i = 0; i < panels->size(); ++i) {
            if (QLabel* label = panels->at(i)) {
                label->setText(s->panelText(i + 1));
                label->setVisible(i < s->panelCount());
            }
        }
        setBold(*w, s->bold());
        applyCommon(*s, *w);
    });
}

QHash<QString, QMenu*> WidgetBinder::bindMenuBar(QObject& form, QMenuBar& bar)
{
    const QList<MenuItem*> items = form.findChildren<MenuItem*>();
    QSet<const MenuItem*> holders;
    for (const MenuItem* item : items) {
        if (item->menu())
            holders.insert(item->menu());
    }
    QHash<const MenuItem*, QMenu*> menuOf;
    QHash<QString, QMenu*> byName;
    for (MenuItem* item : items) {
        QMenu* parentMenu = item->menu() ? menuOf.value(item->menu()) : nullptr;
        if (item->menu() && !parentMenu)
            continue;  // its menu is not one of this window's
        if (!item->menu() && !holders.contains(item)) {
            // A menu with no entries acts at once when chosen.
            QAction* action = bar.addAction(item->caption());
            action->setObjectName(item->name());
            bindAction(*item, *action);
            continue;
        }
        if (holders.contains(item)) {
            QMenu* menu = parentMenu ? parentMenu->addMenu(item->caption()) : bar.addMenu(item->caption());
            menu->setObjectName(item->name());
            menuOf.insert(item, menu);
            byName.insert(item->name(), menu);
            bindAction(*item, *menu->menuAction());
            // Opening a menu is its click.
            QPointer<MenuItem> state(item);
            QObject::connect(menu, &QMenu::aboutToShow, menu, [state] {
                if (state)
                    state->click();
            });
            continue;
        }
        QAction* action = item->isSeparator() ? parentMenu->addSeparator() : parentMenu->addAction(item->caption());
        action->setObjectName(item->name());
        bindAction(*item, *action);
    }
    return byName;
}

}  // namespace tavlo
