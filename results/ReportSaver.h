#pragma once
// Save: asks where the report goes, and which kind, and writes it there.
// A report replaces an earlier file only once it is complete, and a
// failure is told to the user instead of passing for a saved report.

#include "ReportWriter.h"

#include <QByteArray>
#include <QString>

#include <string_view>

class QWidget;

namespace results {

// What Save writes, in the order its dialog lists them: the designed
// report first, the one chosen unless the user picks another.
inline constexpr const char* saveFilterText =
    "Text File (*.txt)|*.txt|Report with measured fits (*.txt)|*.txt|JSON (*.json)|*.json";
enum class SaveType { Report = 1, ReportWithMeasuredFits, Json };

QByteArray savedBytes(SaveType type, const report::ReportInput& input, std::string_view decimalSeparator);

// Shows the save dialog over owner, records the chosen path as the last
// report and writes the report there. Cancel changes nothing. Returns
// whether a report was written.
bool SaveReport(QWidget* owner, const report::ReportInput& input, std::string_view decimalSeparator);

// Tells the user that the file (the "report", the "table") could not be
// saved to path, and the system's reason.
void tellNotSaved(QWidget* owner, const QString& what, const QString& path, QString reason);

// Replaces the file at path by bytes, all or nothing. Returns why that
// failed, or an empty string.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace results
