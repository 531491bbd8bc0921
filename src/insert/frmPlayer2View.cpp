#include "insert/frmPlayer2View.h"

#include "insert/frmPlayer2.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

namespace tavlo {

namespace {

// Holds a widget to the font and colours this view gives it. The widget
// binder puts the control's own weight and colours back at every change of
// the control, and the insert window's logic gives these controls none.
class KeepLook : public QObject {
public:
    KeepLook(QWidget& widget, const QFont& font, std::vector<std::pair<QPalette::ColorRole, QColor>> colours)
        : QObject(&widget), m_widget(widget), m_font(font), m_colours(std::move(colours))
    {
        apply();
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_widget && !m_applying &&
            (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange))
            apply();
        return false;
    }

private:
    void apply()
    {
        m_applying = true;
        if (m_widget.font() != m_font)
            m_widget.setFont(m_font);
        QPalette palette = m_widget.palette();
        bool differs = false;
        for (const auto& [role, colour] : m_colours) {
            if (palette.color(role) != colour) {
                palette.setColor(role, colour);
                differs = true;
            }
        }
        if (differs)
            m_widget.setPalette(palette);
        m_applying = false;
    }

    QWidget& m_widget;
    QFont m_font;
    std::vector<std::pair<QPalette::ColorRole, QColor>> m_colours;
    bool m_applying = false;
};

QFont emphasised(const QWidget& widget, qreal scale)
{
    QFont f = widget.font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * scale);
    return f;
}

}  // namespace

frmPlayer2View::frmPlayer2View(frmPlayer2& window, QWidget* parent) : PlayerWindowView(window, parent)
{
    if (auto* count = findChild<QLabel*>(QStringLiteral("lblCountDown(0)"))) {
        new KeepLook(*count, emphasised(*count, 3.0), {});
        // Room for the widest count at its own size, so that the digits
        // never push anything as they change.
        const QFontMetrics fm(count->font());
        int widest = 0;
        for (const char* text : {"-00:-00", "32767"})
            widest = std::max(widest, fm.horizontalAdvance(QLatin1String(text)));
        count->setMinimumSize(widest + 8, fm.height());
    }
    if (auto* ready = findChild<QLabel*>(QStringLiteral("lblReady"))) {
        new KeepLook(*ready, emphasised(*ready, 1.5), {{QPalette::WindowText, QColor(0, 130, 0)}});
        ready->setMinimumWidth(QFontMetrics(ready->font()).horizontalAdvance(QStringLiteral("READY")) + 4);
    }
    if (auto* abort = findChild<QAbstractButton*>(QStringLiteral("cmdAbortInsert"))) {
        new KeepLook(*abort, emphasised(*abort, 1.2),
                     {{QPalette::Button, QColor(200, 0, 0)}, {QPalette::ButtonText, Qt::white}});
    }
}

}  // namespace tavlo
