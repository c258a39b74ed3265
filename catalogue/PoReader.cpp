// gettext PO: each entry's msgstr, or each msgstr[n] of a plural entry. An
// untranslated string shows its msgid (or msgid_plural) at run time, so
// that is what is measured; obsolete entries (#~) and the header are left
// out. msgctxt and the first reference name an entry.

#include "PoReader.h"

#include "PoSyntax.h"

#include <QIODevice>

#include <map>

namespace catalogue {

namespace {

struct PoString {
    std::string bytes;
    std::uint64_t line = 0;
    bool present = false;
};

struct Entry {
    std::uint64_t flagsLine = 0;
    std::string flags;
    std::string reference;  // the first one
    PoString context, id, plural;
    std::map<int, PoString> strings;  // msgstr is 0, msgstr[n] is n
    bool pluralForms = false;
    bool obsolete = false;

    bool started() const { return context.present || id.present || !strings.empty(); }
};

std::string_view withoutBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

class Reader {
public:
    Reader(const ReadOptions& options, const MessageSink& sink) : options_(options), sink_(sink) {}

    std::optional<ReadError> run(QIODevice& device)
    {
        std::uint64_t number = 0;
        while (!device.atEnd()) {
            QByteArray bytes = device.readLine();
            ++number;
            while (!bytes.isEmpty() && (bytes.back() == '\n' || bytes.back() == '\r'))
                bytes.chop(1);
            std::string_view line(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            if (number == 1 && line.starts_with("\xEF\xBB\xBF"))
                line.remove_prefix(3);
            if (!readLine(withoutBlanks(line), number))
                return error_;
        }
        if (!finish())
            return error_;
        return std::nullopt;
    }

private:
    bool fail(std::uint64_t line, std::string message)
    {
        error_ = ReadError{line, std::move(message)};
        return false;
    }

    bool readLine(std::string_view line, std::uint64_t number)
    {
        if (line.empty())
            return finish();
        if (line.starts_with("#~")) {
            entry_.obsolete = true;
            return true;
        }
        if (line.front() == '#') {
            // A comment after the strings starts the next entry.
            if (!entry_.strings.empty() && !finish())
                return false;
            if (line.starts_with("#,") || line.starts_with("#=")) {
                entry_.flags += std::string(line.substr(2)) + ",";
                entry_.flagsLine = number;
            } else if (line.starts_with("#:") && entry_.reference.empty()) {
                const std::string_view references = withoutBlanks(line.substr(2));
                entry_.reference = std::string(references.substr(0, references.find_first_of(" \t")));
            }
            return true;
        }
        if (line.front() == '"') {
            if (!current_)
                return fail(number, "a string with no keyword before it");
            return quoted(line, number);
        }
        return keyword(line, number);
    }

    bool keyword(std::string_view line, std::uint64_t number)
    {
        const std::size_t end = line.find_first_of(" \t\"");
        const std::string_view word = line.substr(0, end);
        const std::string_view rest = end == std::string_view::npos ? std::string_view() : withoutBlanks(line.substr(end));
        if ((word == "msgctxt" || word == "msgid") && !entry_.strings.empty() && !finish())
            return false;
        if (word == "msgctxt") {
            current_ = &entry_.context;
        } else if (word == "msgid") {
            current_ = &entry_.id;
        } else if (word == "msgid_plural") {
            current_ = &entry_.plural;
            entry_.pluralForms = true;
        } else if (word == "msgstr") {
            current_ = &entry_.strings[0];
        } else if (word.starts_with("msgstr[") && word.ends_with("]") && word.size() > 8 &&
                   word.find_first_not_of("0123456789", 7) == word.size() - 1 && word.size() < 12) {
            current_ = &entry_.strings[std::stoi(std::string(word.substr(7, word.size() - 8)))];
            entry_.pluralForms = true;
        } else {
            return fail(number, std::string(1, '\'').append(line.substr(0, 40)).append("' is not a keyword, comment or string"));
        }
        if (current_->present)
            return fail(number, std::string(word) + " appears twice in one entry");
        current_->present = true;
        current_->line = number;
        return quoted(rest, number);
    }

    bool quoted(std::string_view text, std::uint64_t number)
    {
        if (const auto problem = appendQuoted(text, current_->bytes))
            return fail(number, *problem);
        return true;
    }

    // Hands on the strings of the entry read so far.
    bool finish()
    {
        Entry entry = std::move(entry_);
        entry_ = Entry();
        current_ = nullptr;
        if (entry.obsolete || !entry.started())
            return true;
        if (!entry.id.present)
            return fail(entry.context.present ? entry.context.line : entry.strings.begin()->second.line,
                        "an entry without msgid");
        if (entry.strings.empty())
            return fail(entry.id.line, "the entry has no msgstr");
        if (entry.id.bytes.empty() && !entry.context.present) {
            std::string name;
            if (const auto charset = charsetOfHeader(entry.strings.begin()->second.bytes, name))
                charset_ = *charset;
            else
                return fail(entry.strings.begin()->second.line,
                            "the charset " + name + " is not read; convert the catalogue to UTF-8 first "
                            "(msgconv --to-code=UTF-8)");
            return true;  // the header is no string of the program
        }
        Message message;
        if (const auto problem = budgetFromFlags(entry.flags, message.budget))
            return fail(entry.flagsLine, *problem);
        const QString id = decode(entry.id.bytes, charset_);
        std::string name = entry.reference.empty() ? id.section(u'\n', 0, 0).toStdString() : entry.reference;
        if (entry.context.present)
            name = decode(entry.context.bytes, charset_).toStdString() + "|" + name;

        const auto handOn = [&](const PoString* translated, const PoString& source, const std::string& suffix) {
            const bool useTranslation = !options_.source && translated && !translated->bytes.empty();
            const PoString& chosen = useTranslation ? *translated : source;
            message.id = name + suffix;
            message.variants = {Text{decode(chosen.bytes, charset_), {}, chosen.line}};
            sink_(message);
        };
        if (!entry.pluralForms) {
            handOn(&entry.strings.begin()->second, entry.id, {});
        } else if (options_.source) {
            handOn(nullptr, entry.id, pluralFormSuffix(0));
            handOn(nullptr, entry.plural.present ? entry.plural : entry.id, pluralFormSuffix(1));
        } else {
            for (const auto& [n, translated] : entry.strings)
                handOn(&translated, n == 0 || !entry.plural.present ? entry.id : entry.plural,
                       pluralFormSuffix(static_cast<std::size_t>(n)));
        }
        return true;
    }

    const ReadOptions& options_;
    const MessageSink& sink_;
    Entry entry_;
    PoString* current_ = nullptr;
    Charset charset_ = Charset::Utf8;
    std::optional<ReadError> error_;
};

}  // namespace

ReadResult readGettext(QIODevice& device, const ReadOptions& options, const MessageSink& sink)
{
    ReadResult result;
    result.formatName = "gettext";
    result.error = Reader(options, sink).run(device);
    return result;
}

}  // namespace catalogue
