#pragma once
#include <QString>
#include <QtGlobal>

namespace tarmel {

// The application-wide state: one copy per process, owned by the main window and
// passed by reference to whoever needs it.
struct AppState {
    // Files
    QString FileName;
    QString MergeFileName;
    qint16 FilterIndex = 0;
    qint16 LastFilterIndex = 0;

    // The five configuration values
    qint16 MaximizeDocuments = 0;
    QString EditorFontName = QStringLiteral("Courier New");
    double EditorFontSize = 10;
    qint16 ToolbarVisible = 1;
    qint16 HeaderOption = 0;

    // Search, shared by find and replace
    QString ChaineCherchee;
    QString ChaineRemplace;
    float DiffCasse = 0;          // 0: the search ignores case
    float SensRecherche = 1.0f;   // 1: downwards; any other value: upwards
    qint64 PosTrouvee = 0;        // selection start after the last search; exact at any text size
    bool wholeWord = false;       // "Mot entier" of the panel whose search ran last

    // Renumbering (0: never set)
    int PasRenum = 0;

    // Automatic numbering
    qint16 NumAutoActif = 0;
    qint64 NumAutoSuivant = 0;
    qint16 NumAutoPas = 0;
};

} // namespace tarmel
