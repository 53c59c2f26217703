#include "platform/files.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#ifndef KARVO_DATA_DIR
#define KARVO_DATA_DIR "data"
#endif

namespace {

std::string g_data_dir;
bool g_data_dir_set = false;

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool iequal(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

// Why the last look-up found nothing when a directory on the way could not
// be read ("" when the name is simply not there).
std::string g_lookup_problem;

// Finds one path component in dir, exact spelling first, then ignoring case.
std::string find_component(const std::string& dir, const std::string& part) {
    std::string base = dir.empty() ? std::string(".") : dir;
    std::string exact = dir.empty() ? part : dir + "/" + part;
    struct stat st;
    if (::stat(exact.c_str(), &st) == 0) return exact;
    const int stat_errno = errno;
    DIR* d = ::opendir(base.c_str());
    if (!d) {
        const int e = stat_errno == EACCES ? EACCES : errno;
        if (e != ENOENT)
            g_lookup_problem = "the directory " + plat_path_dir(base + "/") +
                               " cannot be read: " + std::strerror(e);
        return "";
    }
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (iequal(e->d_name, part.c_str())) {
            found = dir.empty() ? std::string(e->d_name) : dir + "/" + e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

std::string resolve_under(const std::string& root, const std::string& rel) {
    g_lookup_problem.clear();
    std::string path = root;
    size_t start = 0;
    while (start <= rel.size()) {
        size_t end = rel.find('/', start);
        if (end == std::string::npos) end = rel.size();
        std::string part = rel.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        path = find_component(path, part);
        if (path.empty()) return "";
    }
    return path;
}

bool has_drive_prefix(const std::string& name) {
    return name.size() >= 3 && (name[0] == 'A' || name[0] == 'a') && name[1] == ':' &&
           (name[2] == '\\' || name[2] == '/');
}

std::string normalise(const char* name) {
    std::string s = name ? name : "";
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

} // namespace

const std::string& plat_data_dir() {
    if (!g_data_dir_set) {
        const char* env = std::getenv("KARVO_DATA");
        g_data_dir = (env && *env) ? env : KARVO_DATA_DIR;
        g_data_dir_set = true;
    }
    return g_data_dir;
}

void plat_set_data_dir(const std::string& dir) {
    g_data_dir = dir;
    g_data_dir_set = true;
}

std::string plat_find_file(const char* name) {
    if (!name || !*name) return "";
    std::string n = normalise(name);
    if (has_drive_prefix(n)) return resolve_under(plat_data_dir(), n.substr(3));
    if (n[0] == '/') {
        g_lookup_problem.clear();
        return exists(n) ? n : "";
    }
    return resolve_under("", n);
}

std::string plat_path_dir(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == 0) return "/";
    char cwd[4096];
    const std::string here = ::getcwd(cwd, sizeof cwd) ? std::string(cwd) : std::string(".");
    if (slash == std::string::npos) return here;
    // Messages name directories in full: a relative one says little to a player.
    const std::string dir = path.substr(0, slash);
    return dir[0] == '/' ? dir : here + "/" + dir;
}

std::string plat_search_place(const char* name) {
    const std::string n = normalise(name);
    if (has_drive_prefix(n))
        return "the data directory (" + plat_path_dir(plat_data_dir() + "/") + ")";
    if (!n.empty() && n[0] == '/') return "its own directory (" + plat_path_dir(n) + ")";
    return "the working directory (" + plat_path_dir("") + ")";
}

int plat_open_regular_fd(const std::string& path, std::string* problem) {
    // Non-blocking, so that opening a FIFO does not wait for a writer; the
    // descriptor blocks again once it is known to be a plain file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd < 0) {
        *problem =
            errno == ENOENT ? "not found" : std::string("unreadable: ") + std::strerror(errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *problem = "not a regular file";
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool plat_read_regular_file(const std::string& path, size_t max_bytes, std::string* bytes,
                            std::string* problem) {
    const int fd = plat_open_regular_fd(path, problem);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && static_cast<uint64_t>(st.st_size) > max_bytes) {
        *problem = "larger than " + std::to_string(max_bytes >> 20) + " MiB";
        ok = false;
    }
    bytes->clear();
    char buf[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *problem = std::string("unreadable: ") + std::strerror(errno);
            ok = false;
        } else if (n == 0) {
            break;
        } else if (bytes->size() + static_cast<size_t>(n) > max_bytes) {
            *problem = "larger than " + std::to_string(max_bytes >> 20) + " MiB"; // grew while read
            ok = false;
        } else {
            bytes->append(buf, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return ok;
}

std::string plat_regular_file_problem(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? "not found" : std::string("unreadable: ") + std::strerror(errno);
    return S_ISREG(st.st_mode) ? "" : "not a regular file";
}

PlatOpenResult plat_locate(const char* name) {
    PlatOpenResult r;
    r.path = plat_find_file(name);
    r.found = !r.path.empty();
    if (!r.found) r.problem = g_lookup_problem.empty() ? "not found" : g_lookup_problem;
    return r;
}

std::FILE* plat_open_regular(const char* name, PlatOpenResult* result) {
    PlatOpenResult r = plat_locate(name);
    std::FILE* f = nullptr;
    if (r.found) {
        const int fd = plat_open_regular_fd(r.path, &r.problem);
        if (fd >= 0) {
            f = ::fdopen(fd, "rb");
            if (!f) {
                r.problem = std::string("unreadable: ") + std::strerror(errno);
                ::close(fd);
            }
        }
    }
    if (result) *result = r;
    return f;
}

std::FILE* plat_fopen(const char* name, const char* mode) {
    if (!name || !mode) return nullptr;
    bool reading = std::strchr(mode, 'r') != nullptr && std::strchr(mode, '+') == nullptr;
    if (reading) return plat_open_regular(name, nullptr);
    std::string path = plat_find_file(name);
    if (path.empty()) {
        std::string n = normalise(name);
        path = has_drive_prefix(n) ? plat_data_dir() + "/" + n.substr(3) : n;
    }
    // Opened without waiting (a FIFO with no reader fails at once) and kept
    // only when it is a plain file: writing to a FIFO or a device would
    // block or go nowhere.
    const bool plus = std::strchr(mode, '+') != nullptr;
    int flags = plus ? O_RDWR : O_WRONLY;
    if (mode[0] == 'w') flags |= O_CREAT | O_TRUNC;
    if (mode[0] == 'a') flags |= O_CREAT | O_APPEND;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, mode);
    if (!f) ::close(fd);
    return f;
}

std::string plat_open_failure(const char* name, const PlatOpenResult& own,
                              const char* fallback_name, const PlatOpenResult& fallback) {
    // A file that exists is named with its own problem; else every place searched.
    const PlatOpenResult* found = own.found ? &own : fallback.found ? &fallback : nullptr;
    if (found)
        return std::string(name) + " in " + plat_path_dir(found->path) + " is " + found->problem;
    // A place that could not be searched says so; else the name is not there.
    auto blocked = [](const PlatOpenResult& r) {
        return !r.problem.empty() && r.problem != "not found";
    };
    std::string text = std::string("cannot open ") + name + ": ";
    text += blocked(own) ? own.problem : "not found in " + plat_search_place(name);
    if (fallback_name && blocked(fallback))
        text += ", and " + fallback.problem;
    else if (fallback_name)
        text += " nor in " + plat_search_place(fallback_name);
    return text;
}
