#include "MergeParts.h"

#include "PartReader.h"

#include <QFile>

#include <cstdio>

namespace tool {

namespace {

// How messages name a part: the input, and the line when it is not the first.
std::string partName(const std::string& input, std::size_t line)
{
    const std::string name = input == "-" ? std::string("standard input") : "'" + input + "'";
    return line == 1 && input != "-" ? name : name + ", line " + std::to_string(line);
}

// Adds a later part, or says why it does not belong with the first.
std::string mergeInto(MergedParts& merged, Part part, const std::string& name, const std::string& firstName)
{
    if (merged.dataFiles.empty()) {
        merged.font = part.font;
        merged.format = part.format;
        merged.face = part.face;
        merged.tally.encoding = part.tally.encoding;
        merged.tally.decodedTexts = true;
    } else if (!sameFont(part.font, merged.font)) {
        return name + " was measured with other font options than " + firstName +
               "; parts merge only when every font option is the same";
    } else if (!(part.format == merged.format)) {
        return name + " was measured from another column or delimiter than " + firstName +
               "; parts merge only when they are read alike";
    } else if (std::string(kindName(part.tally.encoding)) != kindName(merged.tally.encoding)) {
        return name + " was read as " + kindName(part.tally.encoding) + " text and " + firstName + " as " +
               kindName(merged.tally.encoding) + "; parts of one data set are read alike";
    }
    std::uint64_t lines, physicalLines;
    if (__builtin_add_overflow(merged.tally.lineCount, part.tally.lineCount, &lines) ||
        __builtin_add_overflow(merged.tally.physicalLines, part.tally.physicalLines, &physicalLines))
        return "with " + name + " the parts hold more lines than a 64-bit count can hold";
    merged.dataFiles.push_back(part.dataFile);
    merged.tally.append(std::move(part.tally));
    return {};
}

}  // namespace

std::optional<MergedParts> mergeParts(const std::vector<std::string>& inputs, MergeError& error)
{
    MergedParts merged;
    std::string firstName;
    for (const std::string& input : inputs) {
        QFile file;
        const bool opened = input == "-" ? file.open(stdin, QIODevice::ReadOnly)
                                         : (file.setFileName(QString::fromStdString(input)),
                                            file.open(QIODevice::ReadOnly));
        if (!opened) {
            error = {"cannot read the part '" + input + "': " + file.errorString().toStdString(), true};
            return std::nullopt;
        }
        std::size_t line = 0, parts = 0;
        // readLine waits for a pipe's writer; an empty answer is the end.
        for (QByteArray json; !(json = file.readLine()).isEmpty();) {
            ++line;
            if (json.trimmed().isEmpty())
                continue;
            ++parts;
            const std::string name = partName(input, line);
            std::string problem;
            std::optional<Part> part = readPart(json, problem);
            if (!part) {
                error = {name + " is not what spanwick-measure --histogram writes: " + problem};
                return std::nullopt;
            }
            if (firstName.empty())
                firstName = name;
            if (std::string refusal = mergeInto(merged, std::move(*part), name, firstName); !refusal.empty()) {
                error = {refusal};
                return std::nullopt;
            }
        }
        if (file.error() != QFileDevice::NoError) {
            error = {"cannot read the part '" + input + "': " + file.errorString().toStdString(), true};
            return std::nullopt;
        }
        if (parts == 0) {
            error = {(input == "-" ? std::string("standard input") : "'" + input + "'") + " holds no part"};
            return std::nullopt;
        }
    }
    return merged;
}

}  // namespace tool
