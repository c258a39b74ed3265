// What the main window keeps across runs: the font selection, the window's
// size and place. A value that no longer fits its list gives that list's
// usual selection; a settings file that cannot be written never stops the
// user, so failed writes are let go.

#include "frmMain.h"

#include "AppInfo.h"
#include "RememberedSelections.h"
#include "ScaledPlace.h"
#include "SortedComboBox.h"

#include <QCheckBox>
#include <QScreen>

namespace {

QString applicationTitle() { return QString::fromUtf8(appinfo::title); }

// The entry with exactly this text, or the fallback.
void selectOr(QComboBox* box, const QString& text, int fallback)
{
    const int found = text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(found >= 0 ? found : std::min(fallback, box->count() - 1));
}

}  // namespace

void frmMain::selectRememberedFont()
{
    // Without a remembered value: the first face and the usual selections.
    const engine::FontSelections defaults = engine::defaultSelections();
    const RememberedFont font = readRememberedFont(applicationTitle());
    selectOr(cmbFont, font.face, 0);
    selectOr(cmbSize, font.size, cmbSize->findText(QString::fromStdString(defaults.sizeText)));
    chkItalic->setChecked(font.italic);
    chkUnderline->setChecked(font.underline);
    chkStrikeOut->setChecked(font.strikeOut);
    selectOr(cmbWeight, font.weight, defaults.weightIndex);
    selectOr(cmbWidth, font.width, defaults.widthIndex);
}

void frmMain::rememberFont() const
{
    if (exiting_)
        return;
    RememberedFont font;
    font.face = cmbFont->currentText();
    font.size = cmbSize->currentText();
    font.italic = chkItalic->isChecked();
    font.underline = chkUnderline->isChecked();
    font.strikeOut = chkStrikeOut->isChecked();
    font.weight = cmbWeight->currentText();
    font.width = cmbWidth->currentText();
    writeRememberedFont(applicationTitle(), font);
}

bool frmMain::restoreRememberedGeometry()
{
    const QByteArray geometry = readWindowGeometry(applicationTitle());
    if (geometry.isEmpty())
        return false;
    if (restoreGeometry(geometry))
        return true;
    // Qt keeps no place saved on a screen of another width, as after a run
    // at another scale; the window takes that place in proportion instead.
    const std::optional<SavedPlace> place = readSavedPlace(geometry);
    const QScreen* where = screen();
    if (!place || !where)
        return false;
    setGeometry(placeOnScreen(*place, where->geometry().width(), where->availableGeometry(), minimumSize()));
    if (place->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    return true;
}

void frmMain::rememberOnExit() const
{
    rememberFont();
    writeWindowGeometry(applicationTitle(), saveGeometry());
}
