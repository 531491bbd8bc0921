#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class AboutBox;

// The about box on the desktop: the program's picture beside its labels,
// the two links underlined and clickable, OK below. It comes and goes as
// the logic shows and hides the form, at the form's place.
// UI thread only.
class AboutBoxView : public FormDialog {
    Q_OBJECT
public:
    explicit AboutBoxView(AboutBox& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
