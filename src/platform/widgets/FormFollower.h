#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>

class QWidget;

namespace tavlo {

class Form;

// Keeps a top-level widget where its Form says: the caption as title, the
// place (and size) from twips, shown while the form is. It belongs to the
// widget and starts following at once, so make it after the widget's
// contents: a dialog sizes itself to them when it first shows.
// UI thread only.
class FormFollower : public QObject {
    Q_OBJECT
public:
    enum class Placement {
        // A main window: placed and sized once the form has a size; the
        // user's moves and resizes become the form's own geometry.
        PlaceAndSize,
        // A dialog at the form's place, or where the desktop puts it while
        // the form has never been placed (left and top both 0).
        PlaceWhenPlaced,
        // A dialog always at the form's place.
        Place,
    };

    FormFollower(Form& form, QWidget& window, Placement placement);

    // Twips to this window's pixels: 15 twips a pixel at 96 dots an inch,
    // fewer at higher densities.
    int px(int twips) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();
    void writeBack();
    double twipsPerPixel() const;
    int twips(int px) const;
    // What the desktop's frame adds to the window's size (none before it is shown, or without a frame).
    QSize frameExtra() const;

    QPointer<Form> m_form;
    QWidget& m_window;
    const Placement m_placement;
    bool m_applying = false;
    bool m_formShown = false;
    QSize m_frameExtra;  // as last seen
};

}  // namespace tavlo
