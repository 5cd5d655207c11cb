#include "core/NewFolder.h"

#include "core/Platform.h"

#include <algorithm>

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

bool exists(const std::string& path)
{
    return platform::status(path, platform::Links::doNotFollow).has_value();
}

// True for a folder with nothing in it; false for anything else that is there.
bool isEmptyFolder(const std::string& path)
{
    bool empty = true;
    const bool listed = platform::forEachEntry(path, [&](const platform::FolderEntry& entry) {
        empty = empty && (entry.name() == "." || entry.name() == "..");
    });
    return listed && empty;
}

Outcome whyWritingFailed()
{
    switch (platform::lastFailure()) {
    case platform::Failure::diskFull:
        return Outcome::DiskFull;
    case platform::Failure::readOnly:
        return Outcome::ReadOnly;
    case platform::Failure::other:
        break;
    }
    return Outcome::WriteFailed;
}

class Writer {
  public:
    Writer(const Plan& plan, const Progress& progress) : plan_(plan), progress_(progress) {}

    Result run();

  private:
    Result fail(Outcome outcome, const std::string& path)
    {
        cleanUp();
        return {outcome, path};
    }
    Result failWriting(const std::string& path)
    {
        const Outcome outcome = whyWritingFailed(); // before the clean-up changes the cause
        return fail(outcome, path);
    }
    bool copy(const CopiedFile& file, Outcome& outcome);
    bool writeFile(const std::string& path, const std::string& bytes);
    bool commit(Result& result);
    void cleanUp();

    const Plan& plan_;
    const Progress& progress_;
    std::uint64_t done_ = 0, total_ = 0;
    std::string temporary_;
    std::vector<std::string> made_;       // files in the temporary folder
    std::vector<std::string> besideMade_; // temporary files beside, one per plan_.beside
    std::vector<std::string> besideInPlace_;
};

bool Writer::copy(const CopiedFile& file, Outcome& outcome)
{
    std::uint64_t size = 0;
    const platform::File from = platform::openRegularFile(file.source, size);
    if (from == platform::kNoFile) {
        outcome = Outcome::SourceUnreadable;
        return false;
    }
    const std::string target = inFolder(temporary_, file.name);
    const platform::File to = platform::createNew(target);
    bool ok = to != platform::kNoFile;
    if (ok)
        made_.push_back(target);
    for (std::uint64_t left = size; ok && left > 0;) {
        const std::uint64_t piece = std::min(left, kPiece);
        ok = platform::copyBytes(from, to, piece);
        left -= piece;
        done_ += piece;
        if (ok && progress_ && !progress_(done_, total_)) {
            outcome = Outcome::Cancelled;
            platform::close(from);
            platform::close(to);
            return false;
        }
    }
    // Flushed with the others at the end: the disk writes them all meanwhile.
    if (!ok)
        outcome = whyWritingFailed();
    platform::close(from);
    if (to != platform::kNoFile)
        ok = platform::close(to) && ok;
    return ok;
}

bool Writer::writeFile(const std::string& path, const std::string& bytes)
{
    const platform::File to = platform::createNew(path);
    if (to == platform::kNoFile)
        return false;
    made_.push_back(path);
    const bool ok = platform::writeAll(to, bytes) && platform::flush(to);
    return platform::close(to) && ok;
}

Result Writer::run()
{
    if (exists(plan_.folder) && !isEmptyFolder(plan_.folder))
        return {Outcome::FolderNotEmpty, plan_.folder};
    for (const WrittenFile& file : plan_.beside)
        if (exists(file.name))
            return {Outcome::FileExists, file.name};
    for (const CopiedFile& file : plan_.copies) {
        const auto status = platform::status(file.source);
        if (!status || !status->regular)
            return {Outcome::SourceUnreadable, file.source};
        total_ += status->size;
    }

    temporary_ = temporaryBeside(plan_.folder);
    if (!platform::makeUniqueFolder(temporary_)) {
        const Outcome outcome = whyWritingFailed();
        temporary_.clear();
        return {outcome, plan_.folder};
    }
    for (const CopiedFile& file : plan_.copies) {
        Outcome outcome = Outcome::WriteFailed;
        if (!copy(file, outcome))
            return fail(outcome, outcome == Outcome::SourceUnreadable ? file.source : plan_.folder);
    }
    for (const WrittenFile& file : plan_.files)
        if (!writeFile(inFolder(temporary_, file.name), file.bytes))
            return failWriting(plan_.folder);
    for (const std::string& path : made_)
        if (!platform::flushPath(path))
            return failWriting(plan_.folder);
    if (!platform::syncFolder(temporary_, platform::syncDescriptor))
        return failWriting(plan_.folder);
    for (const WrittenFile& file : plan_.beside) {
        std::string path = temporaryBeside(file.name);
        const platform::File to = platform::createUnique(path);
        if (to == platform::kNoFile)
            return failWriting(file.name);
        besideMade_.push_back(path);
        const bool ok = platform::writeAll(to, file.bytes) && platform::flush(to) &&
                        platform::setPermissions(to, platform::newFileMode());
        if (!platform::close(to) || !ok)
            return failWriting(file.name);
    }
    Result result;
    if (!commit(result))
        return fail(result.outcome, result.path);
    return result;
}

// The folder goes into place, then the files beside it; when one of them
// cannot, the folder goes back, so all or nothing is there.
bool Writer::commit(Result& result)
{
    if (exists(plan_.folder) && !platform::removeFolder(plan_.folder)) {
        result = {Outcome::FolderNotEmpty, plan_.folder};
        return false;
    }
    if (!platform::renameToNew(temporary_, plan_.folder)) {
        result = {exists(plan_.folder) ? Outcome::FolderNotEmpty : whyWritingFailed(),
                  plan_.folder};
        return false;
    }
    for (std::size_t i = 0; i < plan_.beside.size(); ++i) {
        const std::string& path = plan_.beside[i].name;
        if (!platform::renameToNew(besideMade_[i], path)) {
            result = {exists(path) ? Outcome::FileExists : whyWritingFailed(), path};
            for (const std::string& placed : besideInPlace_)
                platform::removeFile(placed);
            if (!platform::renameToNew(plan_.folder, temporary_))
                temporary_ = plan_.folder; // it cannot go back: it goes
            return false;
        }
        besideInPlace_.push_back(path);
    }
    platform::syncFolder(parentOf(plan_.folder), platform::syncDescriptor);
    return true;
}

void Writer::cleanUp()
{
    for (const std::string& path : besideMade_)
        platform::removeFile(path);
    for (const std::string& path : made_) {
        // After a failed commit the files are where the folder went back to.
        const std::size_t start = nameStart(path);
        platform::removeFile(inFolder(temporary_, path.substr(start)));
    }
    if (!temporary_.empty())
        platform::removeFolder(temporary_);
}

} // namespace

Result write(const Plan& plan, const Progress& progress)
{
    return Writer(plan, progress).run();
}

} // namespace newfolder
