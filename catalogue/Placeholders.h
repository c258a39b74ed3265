#pragma once
// Placeholders written in text, which a program fills in when it shows the
// string: printf's %s, %d, %1$s, %.2f; Qt's %1, %L1, %n; and {0}, {name},
// {count, number}. %% is a percent sign, not a placeholder.

#include "CatalogueMessage.h"

#include <QStringView>

#include <vector>

namespace catalogue {

std::vector<Span> findPlaceholders(QStringView text);

// The placeholders markup marks and those written in the text outside them,
// in order.
std::vector<Span> allPlaceholders(const Text& text);

}  // namespace catalogue
