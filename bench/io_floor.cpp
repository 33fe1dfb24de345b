// The file work of one conversion and nothing else: the floor that `orvo
// convert` is measured against. It reads the settings, reads both tables and
// writes their echo files, reads the markup file, empties, removes and makes
// the output folder again, copies the three resources, writes the index page
// and then, for every page, reads the source page named by the markup's next
// ref="..." value and writes "<i>.html" with that page's bytes plus a filler
// that stands for the generated script block. No parsing, no generation:
// plain POSIX calls, one read and one write per file.
//
//     io_floor SETTINGS.ini MARKUP.orv [EXTRA_BYTES_PER_PAGE]
//
// Prints what it did on one line; the exit status is 1 when any file failed.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Counts {
    long long filesRead = 0;
    long long bytesRead = 0;
    long long filesWritten = 0;
    long long bytesWritten = 0;
    long long filesRemoved = 0;
    int failures = 0;
};

Counts counts;

bool readAll(const std::string& path, std::string& out)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    ::close(fd);
    ++counts.filesRead;
    counts.bytesRead += static_cast<long long>(done);
    return true;
}

bool writeAll(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    ++counts.filesWritten;
    counts.bytesWritten += static_cast<long long>(done);
    return ::close(fd) == 0;
}

std::string_view trimmed(std::string_view s)
{
    const std::string_view space = " \t\r\n\v\f";
    const std::size_t first = s.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(space) - first + 1);
}

std::map<std::string, std::string, std::less<>> readSettings(const std::string& text)
{
    std::map<std::string, std::string, std::less<>> values;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t nl = rest.find('\n');
        const std::string_view line = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            values[std::string(trimmed(line.substr(0, eq)))] = trimmed(line.substr(eq + 1));
        }
    }
    return values;
}

// Every ref="..." value of the markup in order, "\" taken as "/".
std::vector<std::string> pageRefs(std::string_view markup)
{
    constexpr std::string_view key = " ref=\"";
    std::vector<std::string> refs;
    for (std::size_t p = markup.find(key); p != std::string_view::npos;
         p = markup.find(key, p + 1)) {
        const std::size_t begin = p + key.size();
        const std::size_t end = markup.find('"', begin);
        if (end == std::string_view::npos) {
            break;
        }
        std::string ref(markup.substr(begin, end - begin));
        for (char& c : ref) {
            if (c == '\\') {
                c = '/';
            }
        }
        refs.push_back(std::move(ref));
    }
    return refs;
}

// Deletes the plain files of the folder, then the folder, as every
// conversion does before it writes anything.
void emptyAndRemove(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        const std::string path = folder + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
            ::unlink(path.c_str()) == 0) {
            ++counts.filesRemoved;
        }
    }
    ::rmdir(folder.c_str());
}

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "io_floor: %s\n", what.c_str());
    std::exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: io_floor SETTINGS.ini MARKUP.orv [EXTRA_BYTES_PER_PAGE]\n");
        return 2;
    }
    const long extra = argc == 4 ? std::strtol(argv[3], nullptr, 10) : 2000;

    std::string text;
    if (!readAll(argv[1], text)) {
        fail(std::string("cannot read ") + argv[1]);
    }
    auto settings = readSettings(text);
    const std::string& settingDir = settings["settingDir"];
    const std::string& tempDir = settings["tempDir"];
    for (const char* key : {"tagTypeFile", "emotionMapFile"}) {
        const std::string& name = settings[key];
        if (!readAll(settingDir + name, text) || !writeAll(tempDir + name, text)) {
            fail(std::string("cannot echo ") + key);
        }
    }

    const std::string markupPath = argv[2];
    std::string markup;
    if (!readAll(markupPath, markup)) {
        fail("cannot read " + markupPath);
    }
    const std::size_t slash = markupPath.rfind('/');
    const std::string markupFolder =
        slash == std::string::npos ? std::string() : markupPath.substr(0, slash + 1);
    if (settings["workingDir"].empty()) {
        fail("no workingDir in the settings");
    }
    const std::string outputFolder = markupFolder + settings["workingDir"];
    const std::vector<std::string> refs = pageRefs(markup);

    emptyAndRemove(outputFolder);
    ::mkdir(outputFolder.c_str(), 0777);
    const std::pair<const char*, const char*> resources[] = {{"previousImage", "previous.gif"},
                                                             {"nextImage", "next.gif"},
                                                             {"debugFrameFile", "DebugFrame.html"}};
    for (const auto& [key, target] : resources) {
        if (readAll(settingDir + settings[key], text)) {
            writeAll(outputFolder + target, text);
        }
    }

    std::string index = "<HTML>\n<HEAD>\n</HEAD>\n<BODY  text =\"00000e\">\n";
    for (std::size_t i = 1; i <= refs.size(); ++i) {
        const std::string n = std::to_string(i);
        index += "<a href=\"" + n + ".html\" target=\"up_frame\"> " + n + " </a>";
    }
    index += "</BODY>\n</HTML>\n";
    if (!writeAll(outputFolder + "debugMain.html", index)) {
        fail("cannot write the index page");
    }

    const std::string filler(static_cast<std::size_t>(extra > 0 ? extra : 0), ' ');
    std::string page;
    for (std::size_t i = 1; i <= refs.size(); ++i) {
        if (!readAll(markupFolder + refs[i - 1], page)) {
            ++counts.failures;
            continue;
        }
        page += filler;
        if (!writeAll(outputFolder + std::to_string(i) + ".html", page)) {
            ++counts.failures;
        }
    }
    std::printf("pages %zu files_read %lld bytes_read %lld files_written %lld bytes_written %lld "
                "files_removed %lld failures %d\n",
                refs.size(), counts.filesRead, counts.bytesRead, counts.filesWritten,
                counts.bytesWritten, counts.filesRemoved, counts.failures);
    return counts.failures == 0 ? 0 : 1;
}
