#pragma once
#include <QByteArrayView>
#include <QString>

namespace tarmel {

struct WriteResult {
    bool ok = false;
    QString error;   // why the save failed (empty when ok); the target is then unchanged
};

// Replaces the content of the file at `path` by `bytes` so that, whatever happens (a full disk,
// a file size limit, the process killed, the machine losing power once the call has returned),
// the file holds either its whole old content or the whole new one, never a mix.
//
// How: a temporary file ".<name>.tarmel-XXXXXX" is created beside the target, written in full,
// flushed and synced, given the target's permissions (a new file gets 0666 less the umask, like any
// file the user creates), then renamed over the target, and the folder is synced. On any failure the
// temporary file is removed and the target is left as it was.
//
// Decisions:
// - A symbolic link is written through: the file it points to (following every link of a chain)
//   gets the new content and the link stays a link. A dangling link creates the file it names.
// - A target without any write permission bit is refused, even for root: the rename would replace
//   it, and a read-only program is expected to stay as it is.
// - A target that is a folder or not a regular file (device, pipe, socket) is refused.
// - The owner and group of an existing target are kept when the system allows it; its extended
//   attributes and ACLs are not carried over, and a target with several hard links is detached
//   from the others (the rename gives the name a new file).
// - A file size limit (RLIMIT_FSIZE) makes the save fail with a message; the SIGXFSZ that the
//   system sends with it is held back and discarded for the calling thread, so it cannot end the
//   editor.
// - A process killed during the save may leave its temporary file behind (nothing can remove it);
//   such files are recognisable by their name, are never read, and the next save in that folder
//   does not depend on them. They are not deleted automatically: one may belong to a save still
//   running in another instance.
WriteResult writeFileAtomically(const QString &path, QByteArrayView bytes);

// The infix of the temporary files' names: ".<name>" + temporaryInfix + six random characters.
inline constexpr char temporaryInfix[] = ".tarmel-";

} // namespace tarmel
