// The simulated crash of the file operations, for the tests that stop a save at every
// step. Costs one comparison per operation when no test asked for it.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/file_system.h"

namespace {

// What the disk holds of one file (one inode: a link shares it): its content at the last
// flush, and what was written since, not yet flushed.
struct Contents {
    std::vector<std::uint8_t> flushed;
    std::vector<std::uint8_t> pending;
    bool dirty = false;
};
using File = std::shared_ptr<Contents>;  // null: no file under that name

// One name the run touched: the file it names now, and the one its folder holds on the
// disk, as of the folder's last flush.
struct Name {
    File now;
    File durable;
};

struct Simulation {
    bool armed = false;
    bool stopped = false;
    bool quiet = false;  // the simulation's own writes: neither counted nor stopped
    int stop_after = 0;
    int steps = 0;
    CrashKind how = CrashKind::kProcessDies;
    std::map<std::string, Name> names;
    // What the power loss could not put on the disk while the process held it open.
    std::vector<std::pair<std::string, std::optional<std::vector<std::uint8_t>>>> after_exit;
};

Simulation sim;
bool no_links = false;
FailingFileTest failing_test = nullptr;

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// A name first touched now holds what it held before this run, safely on the disk.
Name& Known(const std::string& path) {
    auto found = sim.names.find(path);
    if (found != sim.names.end()) return found->second;
    sim.quiet = true;
    FileBytes old;
    File file;
    if (ReadFileBytes(path.c_str(), old) == ReadStatus::kOk) {
        file = std::make_shared<Contents>();
        file->flushed.assign(old.data.get(), old.data.get() + old.size);
    }
    sim.quiet = false;
    return sim.names[path] = Name{file, file};
}

// Puts what the disk holds after the power loss under `path`: `kept` bytes, or nothing.
// False while the dying process still holds the name open so that it cannot be
// replaced (Windows); it is then put once that process is gone.
bool PutOnDisk(const std::string& path, const std::optional<std::vector<std::uint8_t>>& kept) {
    // Every name is made anew, so that writing one never reaches another name that is a
    // link to the same file now.
    std::uint64_t time = 0;
    if (FileWriteTime(path.c_str(), time) && !RemoveFile(path.c_str())) return false;
    return !kept || (CreateNewFile(path.c_str()) && WriteFileBytes(path.c_str(), *kept));
}

// The power fails: every name goes back to what its folder last made durable, and every
// file loses what was written to it since its last flush (or keeps half of it).
void LosePower() {
    sim.quiet = true;
    for (auto& [path, name] : sim.names) {
        std::optional<std::vector<std::uint8_t>> kept;
        if (const File& file = name.durable) {
            kept = file->flushed;
            if (file->dirty && sim.how == CrashKind::kPowerLostCut)
                kept->assign(file->pending.begin(), file->pending.begin() + static_cast<std::ptrdiff_t>(file->pending.size() / 2));
        }
        if (!PutOnDisk(path, kept)) sim.after_exit.emplace_back(path, std::move(kept));
    }
    sim.quiet = false;
}

}  // namespace

void SimulateCrashAfter(int steps, CrashKind how) {
    sim = Simulation{};
    sim.armed = true;
    sim.stop_after = steps;
    sim.how = how;
}

void EndSimulatedCrash() {
    sim.quiet = true;
    for (const auto& [path, kept] : sim.after_exit) PutOnDisk(path, kept);
    sim = Simulation{};
}

int FileStepsTaken() { return sim.steps; }

void SetNoLinksTest(bool refuse) { no_links = refuse; }
void SetFailingFileTest(FailingFileTest fail) { failing_test = fail; }
bool NoLinksTest() { return no_links; }

namespace file_steps {

bool Stopped() { return sim.stopped && !sim.quiet; }

bool Refused(FileStep step, const char* path) {
    if (failing_test == nullptr || sim.quiet) return false;
    const FileProblem problem = failing_test(step, path);
    if (problem == FileProblem::kNone) return false;
    NoteFileProblem(problem);
    return true;
}

void BeforeWrite(const char* path) {
    if (sim.armed && !sim.quiet) Known(path);
}

void Done(FileStep step, const char* path, std::span<const std::uint8_t> bytes, const char* from) {
    if (!sim.armed || sim.quiet) return;
    switch (step) {
        case FileStep::kCreate: Known(path).now = std::make_shared<Contents>(); break;
        case FileStep::kWrite: {
            Name& name = Known(path);
            if (!name.now) name.now = std::make_shared<Contents>();
            name.now->pending.assign(bytes.begin(), bytes.end());
            name.now->dirty = true;
            break;
        }
        case FileStep::kFlush: {
            const File& file = Known(path).now;
            if (file && file->dirty) file->flushed = std::move(file->pending);
            if (file) file->dirty = false;
            break;
        }
        case FileStep::kRename: {
            File moved = Known(from).now;
            Known(from).now = nullptr;
            Known(path).now = std::move(moved);
            break;
        }
        case FileStep::kLink: Known(path).now = Known(from).now; break;
        case FileStep::kRemove: Known(path).now = nullptr; break;
        case FileStep::kFlushFolder: {
            const std::string folder = FolderOf(path);
            for (auto& [other, name] : sim.names)
                if (FolderOf(other) == folder) name.durable = name.now;
            break;
        }
        case FileStep::kRead:
        case FileStep::kCheckWrite: break;
    }
    if (++sim.steps != sim.stop_after) return;
    if (sim.how != CrashKind::kProcessDies) LosePower();
    sim.stopped = true;
}

}  // namespace file_steps
