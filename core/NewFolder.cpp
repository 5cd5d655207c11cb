#include "core/NewFolder.h"

#include "core/FileSystem.h"

#include <algorithm>
#include <cctype>

namespace newfolder {

namespace {

// Small enough for a smooth progress bar, large enough to cost nothing.
constexpr std::uint64_t kPiece = std::uint64_t{16} << 20;

std::size_t nameStart(const std::string& path)
{
    std::size_t i = path.size();
    while (i > 0 && !platform::isSeparator(path[i - 1]))
        --i;
    return i;
}

std::string parentOf(const std::string& path)
{
    const std::size_t start = nameStart(path);
    return start == 0 ? std::string(".") : path.substr(0, start);
}

// A hidden name beside `path` for what becomes it.
std::string temporaryBeside(const std::string& path)
{
    const std::size_t start = nameStart(path);
    return path.substr(0, start) + "." + path.substr(start) + ".XXXXXX";
}

std::string inFolder(const std::string& folder, const std::string& name)
{
    return folder + "/" + name;
}

bool exists(const platform::FileSystem& fs, const std::string& path)
{
    return fs.status(path, platform::Links::doNotFollow).has_value();
}

// True for a folder with nothing in it; false for anything else that is there.
bool isEmptyFolder(const platform::FileSystem& fs, const std::string& path)
{
    bool empty = true;
    const bool listed = fs.forEachEntry(path, [&](const platform::FolderEntry& entry) {
        empty = empty && (entry.name() == "." || entry.name() == "..");
    });
    return listed && empty;
}

// Whether `name` is one of temporaryBeside(path)'s names.
bool isTemporaryOf(std::string_view name, const std::string& path)
{
    const std::string prefix = "." + path.substr(nameStart(path)) + ".";
    return name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

// The hidden copies of `path` an interrupted run left beside it; folders
// only when `folders`, never through a link.
std::vector<std::string> leftoversOf(const platform::FileSystem& fs, const std::string& path,
                                     bool folders)
{
    std::vector<std::string> found;
    const std::string parent = parentOf(path);
    fs.forEachEntry(parent, [&](const platform::FolderEntry& entry) {
        if (isTemporaryOf(entry.name(), path))
            found.push_back(inFolder(parent, std::string(entry.name())));
    });
    std::erase_if(found, [&](const std::string& leftover) {
        const auto status = fs.status(leftover, platform::Links::doNotFollow);
        return !status || (folders ? !status->folder : !status->regular);
    });
    return found;
}

// A hidden folder of ours with the files in it; what else is in it stays.
void removeLeftoverFolder(const platform::FileSystem& fs, const std::string& folder)
{
    std::vector<std::string> names;
    fs.forEachEntry(folder, [&](const platform::FolderEntry& entry) {
        if (entry.name() != "." && entry.name() != "..")
            names.emplace_back(entry.name());
    });
    for (const std::string& name : names)
        fs.removeFile(inFolder(folder, name));
    fs.removeFolder(folder);
}

// An interrupted run leaves hidden copies beside the target, and when it
// stopped between the renames a list whose folder never came; the list is
// not older than the copy of its folder, an older one stays.
void removeLeftovers(const platform::FileSystem& fs, const Plan& plan)
{
    std::int64_t newestLeftover = -1;
    for (const std::string& folder : leftoversOf(fs, plan.folder, true)) {
        if (const auto status = fs.status(folder, platform::Links::doNotFollow))
            newestLeftover = std::max(newestLeftover, status->modifiedNs);
        removeLeftoverFolder(fs, folder);
    }
    for (const WrittenFile& file : plan.beside) {
        for (const std::string& leftover : leftoversOf(fs, file.name, false))
            fs.removeFile(leftover);
        const auto status = fs.status(file.name, platform::Links::doNotFollow);
        if (newestLeftover >= 0 && status && status->regular &&
            status->modifiedNs >= newestLeftover && !exists(fs, plan.folder))
            fs.removeFile(file.name);
    }
}

Outcome whyWritingFailed(const platform::FileSystem& fs)
{
    switch (fs.lastFailure()) {
    case platform::Failure::diskFull:
        return Outcome::DiskFull;
    case platform::Failure::readOnly:
        return Outcome::ReadOnly;
    case platform::Failure::inUse:
    case platform::Failure::missing:
    case platform::Failure::other:
        break;
    }
    return Outcome::WriteFailed;
}

class Writer {
  public:
    Writer(const Plan& plan, const Progress& progress, const platform::FileSystem& fs)
        : plan_(plan), progress_(progress), fs_(fs)
    {
    }

    Result run();

  private:
    Result fail(Outcome outcome, const std::string& path)
    {
        cleanUp();
        return {outcome, path};
    }
    Result failWriting(const std::string& path)
    {
        const Outcome outcome = whyWritingFailed(fs_); // before the clean-up changes the cause
        return fail(outcome, path);
    }
    bool copy(const CopiedFile& file, const platform::FileStatus& stamp, Outcome& outcome);
    bool rewrite(const CopiedFile& file, platform::File from, std::uint64_t size,
                 const std::string& target, Outcome& outcome);
    bool writeFile(const std::string& path, const std::string& bytes, bool flushNow = true);
    bool commit(Result& result);
    void undoBeside();
    void cleanUp();

    const Plan& plan_;
    const Progress& progress_;
    const platform::FileSystem& fs_;
    std::uint64_t done_ = 0, total_ = 0;
    std::string temporary_;
    std::vector<platform::FileStatus> stamps_; // of the sources, before copying
    std::vector<std::string> made_;            // files in the temporary folder
    std::vector<std::string> besideMade_;      // temporary files beside, one per plan_.beside
    std::vector<std::string> besideInPlace_;
};

bool unchanged(const platform::FileSystem& fs, const std::string& path,
               const platform::FileStatus& stamp)
{
    const auto now = fs.status(path, platform::Links::follow);
    return now && now->size == stamp.size && now->modifiedNs == stamp.modifiedNs;
}

bool Writer::copy(const CopiedFile& file, const platform::FileStatus& stamp, Outcome& outcome)
{
    std::uint64_t size = 0;
    const platform::File from = fs_.openRegularFile(file.source, size);
    if (from == platform::kNoFile) {
        outcome = Outcome::SourceUnreadable;
        return false;
    }
    const std::string target = inFolder(temporary_, file.name);
    bool ok = size == stamp.size;
    if (!ok)
        outcome = Outcome::SourceChanged;
    else if (file.rewrite)
        ok = rewrite(file, from, size, target, outcome);
    else {
        const platform::File to = fs_.createNew(target);
        ok = to != platform::kNoFile;
        if (ok)
            made_.push_back(target);
        for (std::uint64_t left = size; ok && left > 0;) {
            const std::uint64_t piece = std::min(left, kPiece);
            ok = fs_.copyBytes(from, to, piece);
            left -= piece;
            done_ += piece;
            if (ok && progress_ && !progress_(done_, total_)) {
                fs_.close(from);
                fs_.close(to);
                outcome = Outcome::Cancelled;
                return false;
            }
        }
        // Flushed with the others at the end: the disk writes them all meanwhile.
        if (!ok)
            outcome = whyWritingFailed(fs_);
        if (to != platform::kNoFile)
            ok = fs_.close(to) && ok;
    }
    fs_.close(from);
    // A file still being written would be copied as a part of it.
    if (outcome != Outcome::SourceRefused && !unchanged(fs_, file.source, stamp)) {
        outcome = Outcome::SourceChanged;
        return false;
    }
    return ok;
}

// The whole source read, rewritten and written; progress counts it at once.
bool Writer::rewrite(const CopiedFile& file, platform::File from, std::uint64_t size,
                     const std::string& target, Outcome& outcome)
{
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const auto n = fs_.read(from, bytes.data() + got, bytes.size() - got);
        if (!n || *n == 0) {
            outcome = n ? Outcome::SourceChanged : Outcome::SourceUnreadable;
            return false;
        }
        got += *n;
    }
    const std::optional<std::string> rewritten = file.rewrite(bytes);
    if (!rewritten) {
        outcome = Outcome::SourceRefused;
        return false;
    }
    done_ += size;
    if (progress_ && !progress_(done_, total_)) {
        outcome = Outcome::Cancelled;
        return false;
    }
    if (!writeFile(target, *rewritten, false)) {
        outcome = whyWritingFailed(fs_);
        return false;
    }
    return true;
}

bool Writer::writeFile(const std::string& path, const std::string& bytes, bool flushNow)
{
    const platform::File to = fs_.createNew(path);
    if (to == platform::kNoFile)
        return false;
    made_.push_back(path);
    const bool ok = fs_.writeAll(to, bytes) && (!flushNow || fs_.flush(to));
    return fs_.close(to) && ok;
}

Result Writer::run()
{
    removeLeftovers(fs_, plan_);
    if (exists(fs_, plan_.folder) && !isEmptyFolder(fs_, plan_.folder))
        return {Outcome::FolderNotEmpty, plan_.folder};
    for (const WrittenFile& file : plan_.beside)
        if (exists(fs_, file.name))
            return {Outcome::FileExists, file.name};
    for (const CopiedFile& file : plan_.copies) {
        const auto status = fs_.status(file.source, platform::Links::follow);
        if (!status || !status->regular)
            return {Outcome::SourceUnreadable, file.source};
        total_ += status->size;
        stamps_.push_back(*status);
    }

    temporary_ = temporaryBeside(plan_.folder);
    if (!fs_.makeUniqueFolder(temporary_)) {
        const Outcome outcome = whyWritingFailed(fs_);
        temporary_.clear();
        return {outcome, plan_.folder};
    }
    for (std::size_t i = 0; i < plan_.copies.size(); ++i) {
        const CopiedFile& file = plan_.copies[i];
        Outcome outcome = Outcome::WriteFailed;
        if (!copy(file, stamps_[i], outcome)) {
            const bool source = outcome == Outcome::SourceUnreadable ||
                                outcome == Outcome::SourceChanged ||
                                outcome == Outcome::SourceRefused;
            return fail(outcome, source ? file.source : plan_.folder);
        }
    }
    for (const WrittenFile& file : plan_.files)
        if (!writeFile(inFolder(temporary_, file.name), file.bytes))
            return failWriting(plan_.folder);
    for (const std::string& path : made_)
        if (!fs_.flushPath(path))
            return failWriting(plan_.folder);
    if (!fs_.syncFolder(temporary_))
        return failWriting(plan_.folder);
    for (const WrittenFile& file : plan_.beside) {
        std::string path = temporaryBeside(file.name);
        const platform::File to = fs_.createUnique(path);
        if (to == platform::kNoFile)
            return failWriting(file.name);
        besideMade_.push_back(path);
        const bool ok = fs_.writeAll(to, file.bytes) && fs_.flush(to) &&
                        fs_.setPermissions(to, platform::newFileMode());
        if (!fs_.close(to) || !ok)
            return failWriting(file.name);
    }
    Result result;
    if (!commit(result))
        return fail(result.outcome, result.path);
    return result;
}

// The files beside go into place, then the folder; when it cannot, they
// go again, so all or nothing is there. A stop between the renames leaves
// the list without its folder, never the folder without its list: the next
// run takes that list for the leftover it is.
bool Writer::commit(Result& result)
{
    for (std::size_t i = 0; i < plan_.beside.size(); ++i) {
        const std::string& path = plan_.beside[i].name;
        if (!fs_.renameToNew(besideMade_[i], path)) {
            const Outcome cause = whyWritingFailed(fs_); // before a look changes it
            result = {exists(fs_, path) ? Outcome::FileExists : cause, path};
            undoBeside();
            return false;
        }
        besideInPlace_.push_back(path);
    }
    if (exists(fs_, plan_.folder) && !fs_.removeFolder(plan_.folder)) {
        result = {Outcome::FolderNotEmpty, plan_.folder};
        undoBeside();
        return false;
    }
    if (!fs_.renameToNew(temporary_, plan_.folder)) {
        const Outcome cause = whyWritingFailed(fs_);
        result = {exists(fs_, plan_.folder) ? Outcome::FolderNotEmpty : cause, plan_.folder};
        undoBeside();
        return false;
    }
    fs_.syncFolder(parentOf(plan_.folder));
    return true;
}

void Writer::undoBeside()
{
    for (const std::string& placed : besideInPlace_)
        fs_.removeFile(placed);
    besideInPlace_.clear();
}

void Writer::cleanUp()
{
    for (const std::string& path : besideMade_)
        fs_.removeFile(path);
    for (const std::string& path : made_)
        fs_.removeFile(path);
    if (!temporary_.empty())
        fs_.removeFolder(temporary_);
}

} // namespace

Result write(const Plan& plan, const Progress& progress, const platform::FileSystem& fileSystem)
{
    return Writer(plan, progress, fileSystem).run();
}

} // namespace newfolder
