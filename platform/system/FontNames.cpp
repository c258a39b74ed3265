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

}  // namespace

std::vector<std::string> installedScreenFonts() { return fontview::FontCatalog::instance().familyNames(); }

bool fontNameLess(const std::string& a, const std::string& b)
{
    const int order = collator().compare(QString::fromStdString(a), QString::fromStdString(b));
    // Names the collator holds equal still get a fixed order.
    return order != 0 ? order < 0 : a < b;
}

std::vector<std::string> sortedFontNames(std::vector<std::string> names)
{
    std::erase_if(names, [](const std::string& name) { return name.empty(); });
    std::stable_sort(names.begin(), names.end(), fontNameLess);
    return names;
}

}  // namespace platform
