#include "platform/widgets/BoundLabel.h"

#include "platform/controls/Label.h"
#include "platform/widgets/WidgetBinder.h"

#include <QLabel>

namespace tavlo {

QLabel* boundLabel(Label& state, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(state.name());
    WidgetBinder::bind(state, *l);
    return l;
}

}  // namespace tavlo
