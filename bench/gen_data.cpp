// Writes the benchmark's data files: gen_data KIND MEBIBYTES OUTPUT
//   ascii  short records (names, addresses, numbers), about 60 bytes a line, LF
//   crlf   the same records ending in CR LF
//   utf8   mixed text: Latin accents, Greek, Cyrillic, CJK and emoji among ASCII
//   long   lines of 1 to 8 MiB
//   csv    a customer export in four columns, some quoted, a few over two lines
//   quoted one CSV record, after a header, whose one field is quoted all the way
//   wide   lines of 20 KB, as wide as lines get, for check mode that reports them all
//   table  a wide export of 200 columns: numbers, names, dates, codes, and every
//          twentieth a quoted note of a few sentences, the busiest column
// The output is the same for the same arguments (fixed seed).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Random {
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    std::uint64_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    template <std::size_t N>
    const char* pick(const char* const (&items)[N]) { return items[below(N)]; }
};

const char* const firstNames[] = {"James", "Mary", "Robert", "Patricia", "John", "Jennifer", "Michael", "Linda",
                                  "David", "Elizabeth", "William", "Barbara", "Ann", "Joe", "Kim", "Ali"};
const char* const lastNames[] = {"Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis",
                                 "Rodriguez", "Martinez", "Wilson", "Anderson", "Lee", "Ng", "Fox", "Taylor"};
const char* const streets[] = {"Main St", "Oak Ave", "Pine Rd", "Maple Dr", "Cedar Ln", "Elm St", "Lake View",
                               "Hill Rd", "Park Blvd", "1st Ave"};
const char* const cities[] = {"Springfield", "Riverside", "Fairview", "Madison", "Georgetown", "Salem", "Dover",
                              "Kingston", "Ashland", "Clayton"};

const char* const mixedWords[] = {
    "José", "Müller", "Straße", "Zürich", "façade", "naïve", "Ærøskøbing", "Łódź", "Dvořák", "crème brûlée",
    "Αθήνα", "Θεσσαλονίκη", "καλημέρα", "Москва", "Санкт-Петербург", "привет", "Київ", "東京都", "千代田区",
    "北京市", "大阪", "서울", "こんにちは", "🙂", "🎉", "👍🏽", "🚀", "€12,50", "№ 7", "“quoted”", "—",
    "invoice", "order", "total", "2024-05-17", "ref:", "item", "qty", "the", "and", "of", "to", "in",
    "customer", "address", "price", "note", "status", "ok", "pending"};

void appendNumber(std::string& out, std::uint64_t value)
{
    out += std::to_string(value);
}

void record(std::string& out, Random& random, const char* terminator)
{
    out += random.pick(firstNames);
    out += ' ';
    out += random.pick(lastNames);
    out += ", ";
    appendNumber(out, 1 + random.below(9999));
    out += ' ';
    out += random.pick(streets);
    out += ", ";
    out += random.pick(cities);
    out += ", ";
    appendNumber(out, 10000 + random.below(90000));
    out += ", ";
    appendNumber(out, random.below(100000));
    out += '.';
    appendNumber(out, 10 + random.below(90));
    out += terminator;
}

void mixedLine(std::string& out, Random& random)
{
    const std::size_t words = 3 + random.below(14);
    for (std::size_t i = 0; i < words; ++i) {
        if (i > 0)
            out += random.below(10) == 0 ? ", " : " ";
        if (random.below(4) == 0)
            appendNumber(out, random.below(100000));
        else
            out += random.pick(mixedWords);
    }
    out += '\n';
}

// A customer export: id, "name", "address" (quoted where it holds a comma,
// now and then over two lines), city.
void csvRecord(std::string& out, Random& random)
{
    appendNumber(out, random.below(10000000));
    out += ",\"";
    out += random.pick(firstNames);
    out += ' ';
    out += random.pick(lastNames);
    out += "\",";
    const bool twoLines = random.below(50) == 0;
    out += '"';
    appendNumber(out, 1 + random.below(9999));
    out += ' ';
    out += random.pick(streets);
    out += twoLines ? "\nApt " : ", Unit ";
    appendNumber(out, 1 + random.below(400));
    out += "\",";
    out += random.pick(cities);
    out += '\n';
}

constexpr int tableColumns = 200;

std::string tableHeader()
{
    std::string out;
    for (int c = 1; c <= tableColumns; ++c) {
        if (c > 1)
            out += ',';
        out += c % 20 == 0 ? "note_" : "field_";
        out += std::to_string(c);
    }
    return out + "\n";
}

// One record of the wide export: each column keeps to its kind.
void tableRecord(std::string& out, Random& random)
{
    for (int c = 1; c <= tableColumns; ++c) {
        if (c > 1)
            out += ',';
        switch (c % 20 == 0 ? 5 : c % 5) {
        case 0:
            appendNumber(out, random.below(1000000));
            break;
        case 1:
            out += random.pick(firstNames);
            out += ' ';
            out += random.pick(lastNames);
            break;
        case 2:
            out += "2024-";
            appendNumber(out, 10 + random.below(3));
            out += '-';
            appendNumber(out, 10 + random.below(19));
            break;
        case 3:
            out += random.pick(cities);
            break;
        case 4:
            appendNumber(out, random.below(10000));
            out += '.';
            appendNumber(out, 10 + random.below(90));
            break;
        default:  // a note, quoted: commas, now and then a doubled quote
            out += '"';
            for (std::size_t w = 4 + random.below(24); w > 0; --w) {
                out += random.pick(streets);
                out += random.below(6) == 0 ? ", " : random.below(40) == 0 ? " \"\"sic\"\" " : " ";
            }
            out += '"';
        }
    }
    out += '\n';
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ascii|crlf|utf8|long|csv|quoted|wide|table MEBIBYTES OUTPUT\n", argv[0]);
        return 2;
    }
    const std::string kind = argv[1];
    const std::uint64_t target = std::strtoull(argv[2], nullptr, 10) << 20;
    std::FILE* file = std::fopen(argv[3], "wb");
    if (!file) {
        std::perror(argv[3]);
        return 1;
    }
    Random random;
    std::string chunk;
    if (kind == "csv")
        chunk = "id,name,address,city\n";
    if (kind == "table")
        chunk = tableHeader();
    std::uint64_t written = 0;
    std::uint64_t longLineLeft = 0;  // bytes still to go in the current long line
    if (kind == "quoted")
        chunk = "note\n\"";
    while (written < target) {
        if (written > 0)
            chunk.clear();
        while (chunk.size() < (1u << 20)) {
            if (kind == "ascii") {
                record(chunk, random, "\n");
            } else if (kind == "crlf") {
                record(chunk, random, "\r\n");
            } else if (kind == "csv") {
                csvRecord(chunk, random);
            } else if (kind == "table") {
                tableRecord(chunk, random);
            } else if (kind == "quoted") {
                record(chunk, random, " \"\"and\"\", ");
            } else if (kind == "wide") {
                const std::size_t before = chunk.size();
                while (chunk.size() - before < 20000)
                    record(chunk, random, "; ");
                chunk.back() = '\n';
            } else if (kind == "utf8") {
                mixedLine(chunk, random);
            } else if (kind == "long") {
                if (longLineLeft == 0)
                    longLineLeft = (1u << 20) + random.below(7u << 20);
                const std::size_t before = chunk.size();
                record(chunk, random, "; ");
                const std::size_t added = chunk.size() - before;
                if (added >= longLineLeft) {
                    chunk.back() = '\n';
                    longLineLeft = 0;
                } else {
                    longLineLeft -= added;
                }
            } else {
                std::fprintf(stderr, "unknown kind: %s\n", kind.c_str());
                return 2;
            }
        }
        if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size()) {
            std::perror(argv[3]);
            return 1;
        }
        written += chunk.size();
    }
    if (kind == "long" && longLineLeft != 0)
        std::fputc('\n', file);
    if (kind == "quoted")
        std::fputs("\"\n", file);
    return std::fclose(file) == 0 ? 0 : 1;
}
