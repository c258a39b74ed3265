#pragma once
// Reads a catalogue written in a test, from memory, keeping every string.

#include "CatalogueReader.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace catalogue {

struct Read {
    std::vector<Message> messages;
    ReadResult result;
};

inline Read readDocument(Format format, const std::string& document, bool source = false)
{
    QByteArray bytes = QByteArray::fromStdString(document);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    Read read;
    read.result = readCatalogue(buffer, format, {source}, [&](const Message& message) { read.messages.push_back(message); });
    return read;
}

inline Budget pixels(std::int64_t value) { return {Budget::Kind::Pixels, value, "pixel"}; }
inline Budget otherUnit(std::int64_t value, std::string unit) { return {Budget::Kind::OtherUnit, value, std::move(unit)}; }

// What a test expects of one string.
struct Want {
    std::string id;
    std::uint64_t line = 0;
    std::vector<std::string> texts;  // the variants, as drawn
    Budget budget = {};
    std::string font = {};
};

inline void expectMessages(const Read& read, const std::vector<Want>& wants)
{
    EXPECT_FALSE(read.result.error) << read.result.error->line << ": " << read.result.error->message;
    ASSERT_EQ(read.messages.size(), wants.size());
    for (std::size_t i = 0; i < wants.size(); ++i) {
        const Message& got = read.messages[i];
        const Want& want = wants[i];
        SCOPED_TRACE("string " + std::to_string(i) + ", " + want.id);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.line(), want.line);
        std::vector<std::string> texts;
        for (const Text& text : got.variants)
            texts.push_back(text.text.toStdString());
        EXPECT_EQ(texts, want.texts);
        EXPECT_EQ(got.budget, want.budget);
        EXPECT_EQ(got.font, want.font);
    }
}

}  // namespace catalogue
