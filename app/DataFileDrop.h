#pragma once
// What a drag onto the main window may carry to become the data file: one
// local file, nothing else.

#include <Qt>
#include <QString>

class QMimeData;

// The dragged file's full path, or empty when the drag carries anything
// else: text, several files, a folder, a remote address, a file that does
// not exist.
QString droppedDataFile(const QMimeData* data);

// Copy, or else Link: never Move, which would let the source delete the
// file it just handed over. IgnoreAction when the source offers neither.
Qt::DropAction dataFileDropAction(Qt::DropActions offered);
