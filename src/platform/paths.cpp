#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const char* env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

// KARVO_HOME, else $XDG/karvo, else $HOME/fallback/karvo, else ".".
std::string user_dir(const char* xdg_variable, const char* home_fallback) {
    if (const char* home = env("KARVO_HOME")) return home;
    if (const char* xdg = env(xdg_variable)) return std::string(xdg) + "/karvo";
    if (const char* home = env("HOME")) return std::string(home) + "/" + home_fallback + "/karvo";
    return ".";
}

bool is_dir(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool iequal(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// The entry of `dir` named `name` in any case: the exact spelling first.
std::string find_in(const std::string& dir, const char* name) {
    const std::string exact = dir + "/" + name;
    struct stat st;
    if (::lstat(exact.c_str(), &st) == 0) return exact;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return "";
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (iequal(e->d_name, name)) {
            found = dir + "/" + e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

// Makes dir and its missing parents, the new ones with mode 0700.
bool make_dirs(const std::string& dir) {
    if (is_dir(dir)) return true;
    for (size_t slash = dir.find('/', 1); slash != std::string::npos;
         slash = dir.find('/', slash + 1)) {
        const std::string part = dir.substr(0, slash);
        if (!is_dir(part) && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return (::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) && is_dir(dir);
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

std::string reason(const std::string& path, const char* what) {
    return path + ": " + what + ": " + std::strerror(errno);
}

bool write_all(int fd, const uint8_t* p, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool real_date(int y, int m, int d) {
    static const int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 65535 || m < 1 || m > 12 || d < 1 || d > days[m - 1]) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return !(m == 2 && d == 29 && !leap);
}

// A temporary file of ours: "." NAME TEMP_MARK and mkstemp's six characters.
constexpr const char* TEMP_MARK = ".karvo-";

bool is_our_temporary(const char* entry) {
    const size_t len = std::strlen(entry), mark = std::strlen(TEMP_MARK);
    if (entry[0] != '.' || len < 2 + mark + 6) return false;
    if (std::strncmp(entry + len - 6 - mark, TEMP_MARK, mark) != 0) return false;
    for (size_t i = len - 6; i < len; ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
    return true;
}

// Removes the temporaries a killed writer left in dir. A writer holds a lock
// on its temporary until it is renamed, and the lock dies with the process:
// a temporary that can be locked belongs to no running write.
void remove_stale_temporaries(const std::string& dir) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (dirent* e = ::readdir(d)) {
        if (!is_our_temporary(e->d_name)) continue;
        const std::string path = dir + "/" + e->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held, named;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            S_ISREG(held.st_mode) && ::lstat(path.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(d);
}

// A new temporary in dir, locked; -1 with errno set when none can be made.
int make_temporary(const std::string& dir, const char* name, std::string* temp) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        *temp = dir + "/." + name + TEMP_MARK + "XXXXXX";
        const int fd = ::mkstemp(temp->data());
        if (fd < 0) return -1;
        struct stat st;
        // Another writer's clean-up may have taken it before the lock.
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

} // namespace

std::string plat_config_dir() {
    return user_dir("XDG_CONFIG_HOME", ".config");
}

std::string plat_save_dir() {
    return user_dir("XDG_DATA_HOME", ".local/share");
}

std::string plat_find_user_file(const std::string& dir, const char* name) {
    if (is_dir(dir)) return find_in(dir, name);
    return find_in(".", name);
}

bool plat_read_user_file(const std::string& path, size_t max_size, std::vector<uint8_t>* data,
                         std::string* error) {
    data->clear();
    // Non-blocking, so that a FIFO in a file's place cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(error, reason(path, "cannot open"));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(error, path + ": not a regular file");
    }
    if (static_cast<uint64_t>(st.st_size) > max_size) {
        ::close(fd);
        return fail(error, path + ": " + std::to_string(st.st_size) + " bytes, more than " +
                               std::to_string(max_size));
    }
    data->resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < data->size()) {
        const ssize_t n = ::read(fd, data->data() + got, data->size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string why =
                n < 0 ? reason(path, "cannot read") : path + ": shorter than " + "its size";
            ::close(fd);
            data->clear();
            return fail(error, why);
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    return true;
}

bool plat_write_file_atomic(const std::string& dir_wanted, const char* name, const void* data,
                            size_t size, std::string* error) {
    const std::string dir = make_dirs(dir_wanted) ? dir_wanted : std::string(".");
    std::string target = find_in(dir, name);
    if (target.empty()) target = dir + "/" + name;
    remove_stale_temporaries(dir);
    // Errors name the file the player knows and its directory, never the
    // temporary's name.
    const auto why_now = [&](const char* what) {
        const int err = errno;
        return target + ": " + what + " in " + dir + ": " + std::strerror(err);
    };
    std::string temp;
    const int fd = make_temporary(dir, name, &temp);
    if (fd < 0) return fail(error, why_now("cannot create a new file"));
    bool ok = write_all(fd, static_cast<const uint8_t*>(data), size);
    std::string why = ok ? "" : why_now("cannot write");
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        why = why_now("cannot flush to disk");
    }
    // Renamed before the close, so that the lock lasts the whole write; the
    // data has reached the disk by then.
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        why = why_now("cannot replace the file");
    }
    if (!ok) ::unlink(temp.c_str());
    ::close(fd);
    if (!ok) return fail(error, why);
    // The new name lasts only once the directory itself reaches the disk.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

PlatDate plat_local_date() {
    if (const char* today = env("KARVO_TODAY")) {
        int y = 0, m = 0, d = 0;
        char tail = 0;
        if (std::sscanf(today, "%d-%d-%d%c", &y, &m, &d, &tail) == 3 && real_date(y, m, d))
            return {y, m, d};
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}
