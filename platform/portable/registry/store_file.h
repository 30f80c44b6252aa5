// The store file: where it lives, reading it when another process changed
// it, and replacing it whole under an exclusive lock. A store path that is a
// symbolic link stays one: the file it points at is the one replaced.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/portable/registry/hives.h"

struct stat;

namespace corvant::registry {

// The largest store file that is read (256 MiB).
constexpr unsigned long long largestStore = 256ull << 20;

class StoreFile {
public:
    // "" selects the default (see store_location.h), settled the first time
    // the path is asked for; empty when there is no home folder, and
    // problem() then says so.
    void setPath(const std::string &path);
    std::string path() const;

    // Brings the tree up to date with the file. ERROR_SUCCESS, or ERROR_BADDB
    // for a file that does not parse, or another failure code.
    LONG refresh();
    const Hives &tree() const { return tree_; }

    // Under the lock: refreshes, lets change edit the tree, then writes the
    // file through a temporary file renamed over it. change may edit only the
    // key at keyPath (names below hive), the keys on the way to it and what
    // lies under it; with an empty keyPath, anything in that hive. It returns
    // an error code and must not edit anything when it fails.
    LONG modify(Hive hive, const std::vector<std::string> &keyPath, const std::function<LONG(Hives &)> &change);

    // Syncs the file and its folder to stable storage.
    LONG flush();

    // How long a write waits for another process's lock before it fails
    // with ERROR_LOCK_VIOLATION.
    static constexpr std::chrono::milliseconds defaultLockWait{10000};
    void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

    // Why the store could not be used; see store_problem.h for how long it is kept.
    const std::string &problem() const { return problem_; }

private:
    struct Signature {
        bool exists = false;
        unsigned long long device = 0, inode = 0, size = 0;
        long long modifiedSeconds = 0, modifiedNanoseconds = 0, changedSeconds = 0, changedNanoseconds = 0;
        bool operator==(const Signature &other) const;
    };

    static Signature signatureOf(const struct stat &info);
    LONG load(const std::string &file);
    LONG readFile(const std::string &file);
    // A file larger than largestStore: kept as a store that does not read.
    LONG refuseLarge(const std::string &file, const Signature &now);
    LONG waitForLock(int fd, const std::string &lockName);
    LONG save(const std::string &file);
    LONG fail(LONG code, const std::string &reason);
    // Fails with errno's explanation; code 0 picks the code that fits errno.
    LONG failSystem(const std::string &what, LONG code = 0);
    void forget();

    std::string overridePath_;
    mutable bool defaultSettled_ = false;
    mutable std::string defaultPath_;
    mutable std::string defaultProblem_;
    std::string loadedPath_;
    bool loaded_ = false;
    bool broken_ = false;
    Signature signature_;
    Hives tree_;
    std::chrono::milliseconds lockWait_ = defaultLockWait;
    std::string problem_;
    bool problemFromReading_ = false;
};

}  // namespace corvant::registry
