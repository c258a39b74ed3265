#pragma once
// What may become the data file, by a drag onto the main window or on the
// command line: one local file, nothing else.

#include <Qt>
#include <QString>

class QFileInfo;
class QMimeData;

// What Open... accepts: anything that exists and is not a folder, so a
// named pipe or a device too.
bool isDataFile(const QFileInfo& file);

// The dragged file's full path, or empty when the drag carries anything
// else: text, several files, a folder, a remote address, a file that does
// not exist.
QString droppedDataFile(const QMimeData* data);

// Copy, or else Link: never Move, which would let the source delete the
// file it just handed over. IgnoreAction when the source offers neither.
Qt::DropAction dataFileDropAction(Qt::DropActions offered);
