#pragma once
// The texts of recovery, external changes and read-only files, exactly as the user sees them.

#include <QString>

namespace tarmel::texts {

inline QString recoveryTitle() { return QStringLiteral("Récupération de documents"); }
inline QString recoveryIntro()
{
    return QStringLiteral("Ces documents n'avaient pas été enregistrés quand Tarmel s'est arrêté.\n"
                          "Cochez ceux à rouvrir ; ils s'ouvriront modifiés, avec leur chemin d'origine.");
}
inline QString recoveryFileColumn() { return QStringLiteral("Fichier"); }
inline QString recoveryFolderColumn() { return QStringLiteral("Dossier"); }
inline QString recoveryTimeColumn() { return QStringLiteral("Dernière écriture"); }
inline QString recoveryReopen() { return QStringLiteral("&Rouvrir"); }
inline QString recoveryDiscard() { return QStringLiteral("&Supprimer"); }
inline QString recoveryLater() { return QStringLiteral("&Plus tard"); }
inline QString recoveryTimeFormat() { return QStringLiteral("dd/MM/yyyy HH:mm:ss"); }
inline QString discardQuestion(int count)
{
    return count == 1 ? QStringLiteral("Supprimer définitivement le document coché ?")
                      : QStringLiteral("Supprimer définitivement les %1 documents cochés ?").arg(count);
}
inline QString unreadableJournal(const QString &file)
{
    return QStringLiteral("Le journal de récupération\r\n%1\r\nne peut pas être lu. Il est laissé en place.").arg(file);
}
inline QString journalWriteError(const QString &reason)
{
    return QStringLiteral("Le journal de récupération ne peut pas être écrit.\r\n%1").arg(reason);
}

inline QString changedOnDiskSave(const QString &path)
{
    return QStringLiteral("Le fichier %1 a été modifié par un autre programme.\r\nL'écraser ?").arg(path);
}
inline QString changedOnDiskReload(const QString &path)
{
    return QStringLiteral("Le fichier %1 a été modifié par un autre programme.\r\nLe recharger ?").arg(path);
}
inline QString changedOnDiskTitle() { return QStringLiteral("Fichier modifié"); }
inline QString readOnlyNotice() { return QStringLiteral("Lecture seule"); }

} // namespace tarmel::texts
