// Puts every query of a reference file to fontview-query and compares the
// faces and widths it answers with those of the Windows text functions.
// Queries whose font is not installed here cannot agree and are skipped,
// counted per font.
//
// Usage: reference-check FONTVIEW_QUERY REFERENCE.jsonl[.gz]
// Exit status: 0 every query checked agrees, 1 a query differs or the
// files cannot be read, 77 no query could be checked (no font installed).

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QStringList>

#include <zlib.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int skippedEverything = 77;
constexpr int shownDifferences = 40;

struct Query {
    QJsonObject args;
    QString face;             // what GetTextFaceA said
    std::vector<int> widths;  // characters 32..126
};

// Reads a gzip file or a plain one (zlib reads both) line by line.
std::optional<std::vector<QByteArray>> readLines(const char* path)
{
    gzFile file = gzopen(path, "rb");
    if (!file)
        return std::nullopt;
    std::vector<QByteArray> lines;
    QByteArray line;
    char buffer[8192];
    while (gzgets(file, buffer, sizeof buffer)) {
        line += buffer;
        if (line.endsWith('\n')) {
            lines.push_back(line.trimmed());
            line.clear();
        }
    }
    if (!line.trimmed().isEmpty())
        lines.push_back(line.trimmed());
    int error = Z_OK;
    gzerror(file, &error);
    gzclose(file);
    if (error != Z_OK && error != Z_STREAM_END)
        return std::nullopt;
    return lines;
}

std::vector<int> widthsOf(const QJsonValue& value)
{
    std::vector<int> widths;
    for (const QJsonValue w : value.toArray())
        widths.push_back(w.toInt());
    return widths;
}

// The query as fontview-query reads it: face, height, width, weight, italic.
QByteArray queryLine(const QJsonObject& a)
{
    return a["face"].toString().toUtf8() + '\t' + QByteArray::number(a["height"].toInt()) + '\t' +
           QByteArray::number(a["width"].toInt()) + '\t' + QByteArray::number(a["weight"].toInt()) + '\t' +
           (a["italic"].toBool() ? "1" : "0") + '\n';
}

QString describe(const QJsonObject& a)
{
    return QStringLiteral("'%1' height %2 width %3 weight %4%5")
        .arg(a["face"].toString())
        .arg(a["height"].toInt())
        .arg(a["width"].toInt())
        .arg(a["weight"].toInt())
        .arg(a["italic"].toBool() ? QStringLiteral(" italic") : QString());
}

std::optional<QByteArray> run(const QString& program, const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return std::nullopt;
    process.write(input);
    process.closeWriteChannel();
    // A deadline, not a measure: the whole main file takes a few seconds.
    if (!process.waitForFinished(10 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

void print(const QString& text) { std::printf("%s\n", qPrintable(text)); }

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: reference-check FONTVIEW_QUERY REFERENCE.jsonl[.gz]\n");
        return 1;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);

    const auto lines = readLines(argv[2]);
    if (!lines) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    const auto familyList = run(program, {QStringLiteral("--families")}, {});
    if (!familyList) {
        std::fprintf(stderr, "%s --families failed\n", argv[1]);
        return 1;
    }
    QSet<QString> installed;
    for (const QByteArray& name : familyList->split('\n'))
        if (!name.isEmpty())
            installed.insert(QString::fromUtf8(name).toCaseFolded());

    std::vector<Query> queries;
    std::map<QString, int> skipped;  // by the font the reference chose
    int unanswered = 0;
    QByteArray input;
    for (const QByteArray& line : *lines) {
        if (line.isEmpty())
            continue;
        const QJsonObject row = QJsonDocument::fromJson(line).object();
        if (!row.contains("widths")) {
            ++unanswered;  // the reference itself failed
            continue;
        }
        Query q{row["args"].toObject(), row["face"].toString(), widthsOf(row["widths"])};
        if (!installed.contains(q.face.toCaseFolded())) {
            ++skipped[q.face];
            continue;
        }
        input += queryLine(q.args);
        queries.push_back(std::move(q));
    }

    const auto output = queries.empty() ? QByteArray() : run(program, {}, input);
    if (!output) {
        std::fprintf(stderr, "%s failed\n", argv[1]);
        return 1;
    }
    const QList<QByteArray> answers = output->split('\n');
    int differ = 0;
    for (std::size_t i = 0; i < queries.size(); ++i) {
        const Query& q = queries[i];
        const QJsonObject answer =
            i < static_cast<std::size_t>(answers.size()) ? QJsonDocument::fromJson(answers[i]).object() : QJsonObject();
        const QString face = answer["face"].toString();
        const std::vector<int> widths = widthsOf(answer["widths"]);
        if (face == q.face && widths == q.widths)
            continue;
        if (++differ > shownDifferences)
            continue;
        QString detail;
        int wrong = 0;
        for (std::size_t c = 0; c < q.widths.size(); ++c) {
            if (c < widths.size() && widths[c] == q.widths[c])
                continue;
            if (++wrong <= 6)
                detail += QStringLiteral(" '%1' %2 (reference %3)")
                              .arg(QChar(char16_t(32 + c)))
                              .arg(c < widths.size() ? widths[c] : -1)
                              .arg(q.widths[c]);
        }
        print(QStringLiteral("DIFFERS %1: face '%2' (reference '%3'), %4 widths differ:%5")
                  .arg(describe(q.args), face, q.face)
                  .arg(wrong)
                  .arg(detail));
    }
    if (differ > shownDifferences)
        print(QStringLiteral("... and %1 more that differ").arg(differ - shownDifferences));

    for (const auto& [font, count] : skipped)
        print(QStringLiteral("skipped %1 queries: font '%2' is not installed").arg(count).arg(font));
    if (unanswered)
        print(QStringLiteral("skipped %1 queries the reference has no answer for").arg(unanswered));
    int skippedCount = unanswered;
    for (const auto& entry : skipped)
        skippedCount += entry.second;
    print(QStringLiteral("%1: %2 queries checked, %3 agree, %4 differ, %5 skipped")
              .arg(QString::fromLocal8Bit(argv[2]).section('/', -1))
              .arg(queries.size())
              .arg(static_cast<int>(queries.size()) - differ)
              .arg(differ)
              .arg(skippedCount));
    if (differ)
        return 1;
    return queries.empty() ? skippedEverything : 0;
}
