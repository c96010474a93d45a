#pragma once
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace tarmel {

struct WriteResult {
    bool ok = false;
    QString error;   // why the save failed, one French sentence (empty when ok); the target is then unchanged
};

// Called before a file is rewritten in place (see below) with the target's path: it secures the new
// text elsewhere (the recovery journal) so that a crash during the rewrite loses nothing, and returns
// false when it could not, which stops the save. Empty: nothing is secured.
using SecureBeforeRewrite = std::function<bool(const QString &path)>;

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
// - A writable file in a folder where no file can be created (a read-only folder) is rewritten in
//   place: `secure` is asked first, then room for the new content is reserved (so that a full disk
//   or a size limit fails before any byte changes), then it is written, cut to its new length and
//   synced. Owner, mode and links of the file stay as they are.
// - A temporary file holds a lock (flock) while its save runs. A process killed during the save
//   leaves its temporary file behind; the next save of the same target removes that target's
//   temporary files whose lock is free, and leaves those of a save still running (another instance).
// - The path is taken as pathToBytes gives it: a name that is not UTF-8 is written under its own bytes.
WriteResult writeFileAtomically(const QString &path, QByteArrayView bytes, const SecureBeforeRewrite &secure = {});

// The infix of the temporary files' names: ".<name>" + temporaryInfix + six random characters.
inline constexpr char temporaryInfix[] = ".tarmel-";

} // namespace tarmel
