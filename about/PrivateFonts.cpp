// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The private fonts: mapping, checking and registering the font files of the Fonts folder.
#include "PrivateFonts.h"

#include "FileAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace PrivateFonts {

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

} // namespace

FontPattern splitPattern(const QString& pattern) {
    qsizetype last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (isSeparator(pattern[i]))
            last = i;
    return {pattern.left(last + 1), pattern.mid(last + 1)};
}

QString fontPattern(const QString& appDir) {
    // The program's folder already ends with a separator, so the joined path holds two in a
    // row; the file layer treats them as one.
    return appDir + QDir::separator() + QStringLiteral("Fonts") + QDir::separator() +
           QStringLiteral("*.ttf");
}

bool hasFontMagic(const QByteArray& bytes) {
    if (bytes.size() < 4)
        return false;
    const QByteArray head = bytes.left(4);
    return head == QByteArray("\x00\x01\x00\x00", 4) || head == "true" || head == "OTTO" ||
           head == "ttcf";
}

QStringList matchingFontFiles(const QString& folder, const QString& mask) {
    // The mask matches as the desktop's file layer does: without regard to case.
    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(mask),
                                   QRegularExpression::CaseInsensitiveOption);
    QStringList files;
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (entry.isDir())
            continue;
        if (!match.match(entry.fileName()).hasMatch())
            continue;
        files << entry.filePath();
    }
    return files;
}

namespace {

// A font file mapped into memory, read-only and private, for the rest of the process: the font
// engine keeps pointers into it for as long as it keeps a face, which may outlive the face's
// registration. A file is mapped once however often it is registered, so repeated
// registrations of the same folder take no more address space.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modified = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

std::mutex mappingsLock;
std::map<FileIdentity, QByteArray>& mappings() {
    static std::map<FileIdentity, QByteArray> mapped;
    return mapped;
}

// A font file is mapped at start-up, which costs only the pages the font engine reads, and
// then, a little later on a thread of its own, copied into private memory that takes the mapping's
// place at the same address (mremap), so that a file copied over or cut short later changes nothing
// the program holds. Until then a file cut short leaves pages of its mapping with no file
// behind them, and reading one raises SIGBUS: the handler gives such a page, and every page
// after it in that mapping, zeros instead (the face draws wrongly, the work stays). The
// ranges are read by the handler without a lock, so they are kept in a fixed table of
// atomics, filled under mappingsLock.
struct MappedRange {
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::uintptr_t> end{0};
};
constexpr int MaxMappedRanges = 256;
MappedRange mappedRanges[MaxMappedRanges];
std::atomic<int> mappedRangeCount{0};
struct sigaction previousBusAction {};
std::uintptr_t pageSize = 4096; // read once when the handler is installed

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    const int count = mappedRangeCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        const std::uintptr_t start = mappedRanges[i].start.load(std::memory_order_relaxed);
        const std::uintptr_t end = mappedRanges[i].end.load(std::memory_order_relaxed);
        if (address < start || address >= end)
            continue;
        const std::uintptr_t page = pageSize;
        const std::uintptr_t from = address & ~(page - 1);
        if (::mmap(reinterpret_cast<void*>(from), end - from, PROT_READ,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED)
            return; // the read is made again, and finds zeros
        break;
    }
    // Not a face's page: what would have happened without this handler happens.
    if (previousBusAction.sa_flags & SA_SIGINFO) {
        if (previousBusAction.sa_sigaction) {
            previousBusAction.sa_sigaction(signal, info, context);
            return;
        }
    } else if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN &&
               previousBusAction.sa_handler) {
        previousBusAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
}

// Called with mappingsLock held.
void guardMapping(const char* address, qint64 size) {
    static const bool installed = [] {
        pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGBUS, &action, &previousBusAction) == 0;
    }();
    const int index = mappedRangeCount.load(std::memory_order_relaxed);
    if (!installed || index >= MaxMappedRanges)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(address);
    mappedRanges[index].start.store(start, std::memory_order_relaxed);
    mappedRanges[index].end.store(start + std::uintptr_t(size), std::memory_order_relaxed);
    mappedRangeCount.store(index + 1, std::memory_order_release);
}

// The mappings not yet copied into private memory.
std::vector<std::pair<char*, size_t>>& uncopied() {
    static std::vector<std::pair<char*, size_t>> ranges;
    return ranges;
}

void copyIntoPrivateMemory(const std::vector<std::pair<char*, size_t>>& ranges) {
    for (const auto& [address, length] : ranges) {
        void* copy =
            ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (copy == MAP_FAILED)
            continue;
        std::memcpy(copy, address, length);
        ::mprotect(copy, length, PROT_READ);
        // The same bytes at the same address: the font engine reading meanwhile sees either.
        if (::mremap(copy, length, length, MREMAP_MAYMOVE | MREMAP_FIXED, address) == MAP_FAILED)
            ::munmap(copy, length);
    }
}

} // namespace

namespace {

// A collection names its faces in a table the font engine walks for every face it opens, so
// its cost grows with the square of the count. Only the first faces are taken: the header of the
// private mapping is changed to say so, which copies that one page and leaves the file alone.
void takeFirstFacesOnly(char* bytes, qint64 size) {
    if (size < 12 || std::memcmp(bytes, "ttcf", 4) != 0)
        return;
    if (qFromBigEndian<quint32>(bytes + 8) > quint32(MaxFacesPerFile))
        qToBigEndian<quint32>(quint32(MaxFacesPerFile), bytes + 8);
}

} // namespace

std::optional<QByteArray> readFontFile(const QString& path) {
    // Opened as every other file the program reads: without blocking, so a named pipe cannot
    // hold up start-up, and only when it is a regular file within the cap.
    files::ReadResult problem;
    struct stat status {};
    const int fd = files::openRegularFile(path, MaxFontFileBytes, problem, status);
    if (fd < 0)
        return std::nullopt;
    if (status.st_size < 4) {
        ::close(fd);
        return std::nullopt;
    }
    const FileIdentity identity{status.st_dev, status.st_ino, status.st_size,
                                qint64(status.st_mtim.tv_sec) * 1000000000 +
                                    status.st_mtim.tv_nsec};
    std::lock_guard<std::mutex> guard(mappingsLock);
    auto known = mappings().find(identity);
    if (known == mappings().end()) {
        // Mapped, not read: the pages of a face are faulted in when the font engine reads
        // them, which for a large face at start-up is its character map and names only.
        void* address =
            ::mmap(nullptr, size_t(status.st_size), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
        if (address == MAP_FAILED) {
            ::close(fd);
            return std::nullopt;
        }
        char* bytes = static_cast<char*>(address);
        takeFirstFacesOnly(bytes, status.st_size);
        ::mprotect(address, size_t(status.st_size), PROT_READ);
        const QByteArray mapped = QByteArray::fromRawData(bytes, qsizetype(status.st_size));
        if (!hasFontMagic(mapped)) {
            ::munmap(address, size_t(status.st_size));
            ::close(fd);
            return std::nullopt;
        }
        guardMapping(bytes, status.st_size);
        uncopied().emplace_back(bytes, size_t(status.st_size));
        known = mappings().emplace(identity, mapped).first;
    }
    ::close(fd);
    return known->second;
}

namespace {

// The usable font files of a pattern, read and checked, in the file system's order.
using FontFiles = std::vector<QByteArray>;

FontFiles readFontFiles(const QString& pattern) {
    const FontPattern parts = splitPattern(pattern);
    FontFiles files;
    for (const QString& path : matchingFontFiles(parts.folder, parts.mask))
        if (std::optional<QByteArray> bytes = readFontFile(path))
            files.push_back(std::move(*bytes));
    return files;
}

struct Prefetch {
    std::mutex lock;
    QString pattern;
    std::future<FontFiles> files;
};

Prefetch& prefetch() {
    static Prefetch instance;
    return instance;
}

// The prefetched files when a prefetch of this pattern is pending, waiting for it to finish.
std::optional<FontFiles> takePrefetched(const QString& pattern) {
    Prefetch& pending = prefetch();
    std::lock_guard<std::mutex> guard(pending.lock);
    if (!pending.files.valid() || pending.pattern != pattern)
        return std::nullopt;
    pending.pattern.clear();
    return pending.files.get();
}

} // namespace

void prefetchFonts(const QString& pattern) {
    // The first thread that touches Qt's objects becomes its main thread: make sure that is
    // the caller, not the reader, when this runs before the application object exists.
    (void)QThread::currentThread();
    Prefetch& pending = prefetch();
    std::lock_guard<std::mutex> guard(pending.lock);
    if (pending.files.valid())
        pending.files.wait();
    pending.pattern = pattern;
    pending.files = std::async(std::launch::async, readFontFiles, pattern);
}

Registration addFonts(const QString& pattern) {
    Registration result;
    std::optional<FontFiles> files = takePrefetched(pattern);
    const QFileInfo folder(splitPattern(pattern).folder);
    if (!folder.exists() || !folder.isDir())
        return result;
    result.folderFound = true;
    if (!files)
        files = readFontFiles(pattern);
    for (const QByteArray& bytes : *files) {
        const int id = QFontDatabase::addApplicationFontFromData(bytes);
        if (id >= 0)
            result.ids << id;
    }
    // The copies are made once the program has started, on a thread beside it, so that
    // start-up pays only for the pages the font engine reads.
    if (QCoreApplication* application = QCoreApplication::instance())
        QTimer::singleShot(2000, application, [] { std::thread(keepFontsPrivate).detach(); });
    return result;
}

void keepFontsPrivate() {
    std::lock_guard<std::mutex> guard(mappingsLock);
    copyIntoPrivateMemory(std::exchange(uncopied(), {}));
}

void removeFonts(const QList<int>& ids) {
    for (const int id : ids)
        QFontDatabase::removeApplicationFont(id);
}

} // namespace PrivateFonts
