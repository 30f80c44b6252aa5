#include "platform/portable/registry/store_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "platform/portable/registry.h"
#include "platform/portable/registry/regedit_text.h"
#include "platform/portable/registry/store_location.h"

namespace corvant::registry {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int closeNow() {
        int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string folderOf(const std::string &file) {
    size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return file.substr(0, slash);
}

LONG codeForErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT: return ERROR_HANDLE_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_CANTWRITE;
    }
}

// Creates the folder and any missing parents.
bool makeFolders(const std::string &folder) {
    struct stat info;
    if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// Root may write anything; it is still kept from a store someone marked read-only.
bool markedReadOnly(const struct stat &info) {
    return ::geteuid() == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool writeAll(int fd, const std::string &text) {
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

bool syncPath(const std::string &path, int flags) {
    FileDescriptor fd(::open(path.c_str(), flags | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

// Follows symbolic links from file to the name of what they finally point
// at (which need not exist yet), so that the store is replaced where it
// really lives and a link stays a link. Empty, with errno set, on a loop or
// a link that cannot be read.
std::string followLinks(std::string file) {
    for (int links = 0; links < 40; ++links) {
        struct stat info;
        if (::lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return file;
        // One byte more than lstat said, to see whether the link grew since.
        std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1, '\0');
        ssize_t length = ::readlink(file.c_str(), target.data(), target.size());
        if (length < 0) return std::string();
        if (static_cast<size_t>(length) == target.size()) continue;
        target.resize(static_cast<size_t>(length));
        file = target[0] == '/' ? target : folderOf(file) + "/" + target;
    }
    errno = ELOOP;
    return std::string();
}

}  // namespace

bool StoreFile::Signature::operator==(const Signature &other) const {
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds &&
           changedSeconds == other.changedSeconds && changedNanoseconds == other.changedNanoseconds;
}

StoreFile::Signature StoreFile::signatureOf(const struct stat &info) {
    Signature signature;
    signature.exists = true;
    signature.device = info.st_dev;
    signature.inode = info.st_ino;
    signature.size = static_cast<unsigned long long>(info.st_size);
    signature.modifiedSeconds = info.st_mtim.tv_sec;
    signature.modifiedNanoseconds = info.st_mtim.tv_nsec;
    signature.changedSeconds = info.st_ctim.tv_sec;
    signature.changedNanoseconds = info.st_ctim.tv_nsec;
    return signature;
}

void StoreFile::setPath(const std::string &path) {
    overridePath_ = path;
    defaultSettled_ = false;
    defaultPath_.clear();
    forget();
    problem_.clear();
    problemFromReading_ = false;
}

std::string StoreFile::path() const {
    if (!overridePath_.empty()) return overridePath_;
    if (!defaultSettled_) {
        defaultSettled_ = true;
        defaultStorePath(defaultPath_, defaultProblem_);
    }
    return defaultPath_;
}

void StoreFile::forget() {
    loaded_ = false;
    broken_ = false;
    tree_ = Hives();
}

LONG StoreFile::fail(LONG code, const std::string &reason) {
    problem_ = reason;
    problemFromReading_ = false;
    return code;
}

LONG StoreFile::failSystem(const std::string &what, LONG code) {
    int error = errno;
    return fail(code != 0 ? code : codeForErrno(error), what + ": " + std::strerror(error));
}

LONG StoreFile::refresh() { return load(path()); }

// A reading problem lasts until the file reads well again; a writing
// problem until a write succeeds, so later reads do not hide it.
LONG StoreFile::load(const std::string &file) {
    if (file.empty()) return fail(ERROR_PATH_NOT_FOUND, defaultProblem_);
    LONG result = readFile(file);
    if (result != ERROR_SUCCESS) {
        problemFromReading_ = true;
    } else if (problemFromReading_) {
        problem_.clear();
        problemFromReading_ = false;
    }
    return result;
}

LONG StoreFile::refuseLarge(const std::string &file, const Signature &now) {
    loaded_ = true;
    broken_ = true;
    loadedPath_ = file;
    signature_ = now;
    return fail(ERROR_BADDB, file + ": larger than the " + std::to_string(largestStore >> 20) +
                                 " MiB a store may have; it is not read");
}

LONG StoreFile::readFile(const std::string &file) {
    struct stat info;
    Signature now;
    if (::stat(file.c_str(), &info) == 0) {
        now = signatureOf(info);
    } else if (errno != ENOENT) {
        int error = errno;
        forget();
        return fail(error == EACCES ? ERROR_ACCESS_DENIED : ERROR_CANTREAD, file + ": " + std::strerror(error));
    }
    if (loaded_ && file == loadedPath_ && now == signature_) return broken_ ? ERROR_BADDB : ERROR_SUCCESS;

    forget();
    Hives fresh;
    if (now.exists) {
        if (!S_ISREG(info.st_mode)) return fail(ERROR_CANTREAD, file + ": not a regular file");
        // Far beyond any store Corvant writes: refused before it is read.
        if (static_cast<unsigned long long>(info.st_size) > largestStore) return refuseLarge(file, now);
        FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd.valid()) {
            int error = errno;
            return fail(error == EACCES ? ERROR_ACCESS_DENIED : ERROR_CANTREAD, file + ": " + std::strerror(error));
        }
        // Read in place, into room for the whole file, so that the text needs
        // no more memory than the file's size; a file that grows meanwhile
        // is refused once it passes the limit.
        std::string text(static_cast<size_t>(info.st_size) + 1, '\0');
        size_t length = 0;
        for (;;) {
            if (length == text.size()) {
                if (text.size() > largestStore) return refuseLarge(file, now);
                text.resize(std::min<size_t>(text.size() * 2, largestStore + 1));
            }
            ssize_t n = ::read(fd.get(), &text[length], text.size() - length);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return failSystem(file, ERROR_CANTREAD);
            if (n == 0) break;
            length += static_cast<size_t>(n);
        }
        text.resize(length);
        ReadFailure failure;
        if (!readRegedit4(text, fresh, failure)) {
            loaded_ = true;
            broken_ = true;
            loadedPath_ = file;
            signature_ = now;
            return fail(ERROR_BADDB, file + ":" + std::to_string(failure.line) + ": " + failure.reason);
        }
    }
    tree_ = std::move(fresh);
    loaded_ = true;
    loadedPath_ = file;
    signature_ = now;
    return ERROR_SUCCESS;
}

LONG StoreFile::modify(Hive hive, const std::vector<std::string> &keyPath, const std::function<LONG(Hives &)> &change) {
    const std::string file = path();
    // A store that is already known to be unusable gets neither a folder nor a lock file.
    LONG result = load(file);
    if (result != ERROR_SUCCESS) return result;
    // The lock, the temporary file and the new store all go beside the file the path finally names.
    const std::string target = followLinks(file);
    if (target.empty()) return failSystem(file);
    const std::string folder = folderOf(target);
    if (!makeFolders(folder)) {
        int error = errno;
        return fail(codeForErrno(error), folder + ": cannot create the folder: " + std::strerror(error));
    }
    struct stat folderInfo;
    if (::stat(folder.c_str(), &folderInfo) == 0 && markedReadOnly(folderInfo))
        return fail(ERROR_ACCESS_DENIED, folder + ": the folder is read-only");

    // The store itself is replaced on every write, so the lock lives in a file of its own.
    const std::string lockName = target + ".lock";
    FileDescriptor lock(::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock.valid()) return failSystem(lockName);
    result = waitForLock(lock.get(), lockName);
    if (result != ERROR_SUCCESS) return result;

    result = load(file);
    if (result != ERROR_SUCCESS) return result;
    struct stat info;
    if (::stat(file.c_str(), &info) == 0 && markedReadOnly(info))
        return fail(ERROR_ACCESS_DENIED, file + ": the store is read-only");
    // Whatever the change touches lies in one key directly below the hive.
    if (keyPath.empty()) {
        for (const auto &topKey : tree_[hive].subkeys()) topKey->writtenText.clear();
    } else if (const Key *topKey = tree_[hive].findSubkey(keyPath.front())) {
        topKey->writtenText.clear();
    }
    result = change(tree_);
    if (result != ERROR_SUCCESS) return result;
    result = save(target);
    // Whatever is on disk now is what the next call must see.
    if (result != ERROR_SUCCESS) forget();
    return result;
}

// Polls rather than blocks, so that a holder that never lets go (stopped in
// a terminal or a debugger) costs a bounded wait instead of a hung program.
LONG StoreFile::waitForLock(int fd, const std::string &lockName) {
    const auto deadline = std::chrono::steady_clock::now() + lockWait_;
    auto pause = std::chrono::microseconds(500);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return ERROR_SUCCESS;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return failSystem(lockName, ERROR_CANTWRITE);
        if (std::chrono::steady_clock::now() >= deadline)
            return fail(ERROR_LOCK_VIOLATION, lockName + ": another program has held the lock for too long");
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
}

// Called with the lock held. The temporary file has one fixed name: a writer
// killed while saving leaves it behind, and the next writer replaces it, so
// crashes never leave more than that one file beside the store.
LONG StoreFile::save(const std::string &file) {
    struct stat existing;
    const bool exists = ::stat(file.c_str(), &existing) == 0;
    if (exists && ::access(file.c_str(), W_OK) != 0) return failSystem(file, ERROR_ACCESS_DENIED);

    const std::string temporary = file + ".tmp";
    if (::unlink(temporary.c_str()) != 0 && errno != ENOENT) return failSystem(temporary);
    // Never wider than the store: created within its permissions (or as the
    // process creates new files), then given exactly the store's.
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             exists ? existing.st_mode & 0666 : 0666));
    if (!fd.valid()) return failSystem(temporary);
    bool written = true;
    if (exists) {
        // Root writing someone's store leaves it theirs.
        if (::geteuid() == 0 && (existing.st_uid != 0 || existing.st_gid != 0))
            written = ::fchown(fd.get(), existing.st_uid, existing.st_gid) == 0;
        written = written && ::fchmod(fd.get(), existing.st_mode & 07777) == 0;
    }
    const std::string text = writeRegedit4(tree_, true);
    written = written && writeAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    int error = errno;
    if (fd.closeNow() != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        if (written) error = errno;
        ::unlink(temporary.c_str());
        return fail(codeForErrno(error), file + ": cannot write: " + std::strerror(error));
    }

    struct stat info;
    if (::stat(file.c_str(), &info) == 0) {
        signature_ = signatureOf(info);
    } else {
        loaded_ = false;
    }
    problem_.clear();
    problemFromReading_ = false;
    return ERROR_SUCCESS;
}

LONG StoreFile::flush() {
    if (path().empty()) return fail(ERROR_PATH_NOT_FOUND, defaultProblem_);
    const std::string file = followLinks(path());
    if (file.empty()) return failSystem(path());
    struct stat info;
    if (::stat(file.c_str(), &info) != 0) {
        // Nothing has been written yet, so there is nothing to sync.
        if (errno == ENOENT) return ERROR_SUCCESS;
        return failSystem(file);
    }
    if (!syncPath(file, O_RDONLY) || !syncPath(folderOf(file), O_RDONLY | O_DIRECTORY))
        return failSystem(file, ERROR_CANTWRITE);
    return ERROR_SUCCESS;
}

}  // namespace corvant::registry
