#include "FontNames.h"

#include "FontCatalog.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>

namespace platform {

namespace {

const QCollator& collator()
{
    static const QCollator instance = [] {
        QCollator c(QLocale::system());
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return instance;
}

// The list's order: the collator's, and a fixed one between names the
// collator holds equal. a and b are the names aText and bText spell.
bool listedBefore(const QString& aText, const std::string& a, const QString& bText, const std::string& b)
{
    const int order = collator().compare(aText, bText);
    return order != 0 ? order < 0 : a < b;
}

}  // namespace

std::vector<std::string> installedScreenFonts() { return fontview::FontCatalog::instance().familyNames(); }

std::vector<std::string_view> installedFaceFamilies()
{
    const std::vector<fontview::CatalogEntry>& entries = fontview::FontCatalog::instance().entries();
    std::vector<std::string_view> families;
    families.reserve(entries.size());
    for (const fontview::CatalogEntry& entry : entries)
        families.push_back(entry.family);
    return families;
}

bool fontNameLess(const std::string& a, const std::string& b)
{
    return listedBefore(QString::fromStdString(a), a, QString::fromStdString(b), b);
}

std::vector<std::string> sortedFontNames(std::vector<std::string> names)
{
    std::erase_if(names, [](const std::string& name) { return name.empty(); });
    // As fontNameLess orders them, each name made a QString once rather
    // than at every comparison.
    struct Keyed {
        QString text;
        std::string* name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names)
        keyed.push_back({QString::fromStdString(name), &name});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return listedBefore(a.text, *a.name, b.text, *b.name); });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(*k.name));
    return sorted;
}

}  // namespace platform
