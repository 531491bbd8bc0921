#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class frmAbout;

// The about box on the desktop: the program's picture beside its labels,
// the two links underlined and clickable, OK below. It comes and goes as
// the logic shows and hides the form, at the form's place.
// UI thread only.
class frmAboutView : public FormDialog {
    Q_OBJECT
public:
    explicit frmAboutView(frmAbout& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
