// Writes a translation catalogue for the benchmark and the same strings as
// plain text, one a line: gen_catalogue UNITS CATALOGUE.xlf TEXTS.txt
// The catalogue is XLIFF 1.2: units in groups of fifty, each group with a
// pixel budget, one unit in eight with a placeholder, one in twenty with
// a budget of its own. The output is the same for the same arguments.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Random {
    unsigned long long state = 0x9E3779B97F4A7C15ull;
    unsigned long long next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
};

const char* const words[] = {"Datei", "öffnen", "speichern", "Einstellungen", "Ansicht", "Fenster", "schließen",
                             "Drucken", "Vorschau", "Größe", "Schrift", "übernehmen", "Abbrechen", "Hilfe",
                             "Werkzeuge", "Suchen", "Ersetzen", "alle", "neu", "Ordner", "Verlauf", "Zurück"};

std::string sentence(Random& random)
{
    std::string text;
    const std::size_t count = 1 + random.below(5);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += words[random.below(sizeof words / sizeof *words)];
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: gen_catalogue UNITS CATALOGUE.xlf TEXTS.txt\n");
        return 2;
    }
    const long units = std::atol(argv[1]);
    std::FILE* catalogue = std::fopen(argv[2], "wb");
    std::FILE* texts = std::fopen(argv[3], "wb");
    if (!catalogue || !texts || units < 1)
        return 1;
    Random random;
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
               "  <file original=\"app.rc\" source-language=\"en\" target-language=\"de\" datatype=\"winres\">\n"
               "    <body>\n",
               catalogue);
    for (long unit = 0; unit < units; ++unit) {
        if (unit % 50 == 0)
            std::fprintf(catalogue, "%s      <group id=\"g%ld\" maxwidth=\"%zu\" size-unit=\"pixel\">\n",
                         unit == 0 ? "" : "      </group>\n", unit / 50, 120 + random.below(120));
        std::string target = sentence(random), plain = target;
        if (unit % 8 == 0) {
            target += " <ph id=\"1\">%s</ph>";
            plain += " %s";
        }
        const std::string budget = unit % 20 == 0 ? " maxwidth=\"" + std::to_string(60 + random.below(200)) + "\"" : "";
        std::fprintf(catalogue,
                     "        <trans-unit id=\"IDS_%ld\"%s>\n"
                     "          <source>String number %ld</source>\n"
                     "          <target>%s</target>\n"
                     "        </trans-unit>\n",
                     unit, budget.c_str(), unit, target.c_str());
        std::fprintf(texts, "%s\n", plain.c_str());
    }
    std::fputs("      </group>\n    </body>\n  </file>\n</xliff>\n", catalogue);
    return std::fclose(catalogue) == 0 && std::fclose(texts) == 0 ? 0 : 1;
}
