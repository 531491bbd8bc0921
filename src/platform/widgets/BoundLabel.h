#pragma once

class QLabel;
class QWidget;

namespace tavlo {

class Label;

// A QLabel named after its control and bound to it, as most views' labels are.
// UI thread only.
QLabel* boundLabel(Label& state, QWidget* parent);

}  // namespace tavlo
