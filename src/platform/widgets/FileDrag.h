#pragma once

#include <QStringList>

class QMimeData;

namespace tavlo {

// Files carried by drag and drop, the way file managers carry them: a
// text/uri-list of local file URLs. Tavlo's own drags also carry the paths
// exactly as its lists hold them (relative entries, names written on another
// system, empty "Location"s), which a URL cannot always give back unchanged.
// UI thread only.

// The drag data for `paths`, in list order. The caller owns it (QDrag takes it).
QMimeData* makeFileDrag(const QStringList& paths);

// The paths a drag carries: Tavlo's own exact list when it is there, else
// the local files among its URLs. Empty when it carries no file, which is
// the sign to refuse it.
QStringList droppedFiles(const QMimeData* data);

}  // namespace tavlo
