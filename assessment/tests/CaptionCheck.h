#pragma once
// Reads a shown screen the way a user reads it: for every caption of a label, button, check box or
// radio button, every item of a list box and every cell of a grid, it measures the text with the
// control's own font and reports the captions that do not fit their control, that reach outside a
// panel they lie in, or that another control lies over.
#include <QStringList>

class QWidget;

namespace captions {

// One line per caption that cannot be read whole, naming the control, the text and the reason;
// empty when every caption of `screen` can be read. Controls hidden on the screen are measured
// against their own size only.
QStringList cutCaptions(QWidget* screen);

}  // namespace captions
