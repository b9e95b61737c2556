// The simulated crash of the file operations, for the tests that stop a save at every
// step. Costs one comparison per operation when no test asked for it.
#include <map>
#include <string>
#include <vector>

#include "config/file_system.h"

namespace {

// What the disk holds of a file this run wrote: its content at the last flush, and what
// was written since, not yet flushed.
struct Tracked {
    std::vector<std::uint8_t> flushed;
    std::vector<std::uint8_t> pending;
    bool dirty = false;
};

struct Simulation {
    bool armed = false;
    bool stopped = false;
    bool quiet = false;  // the simulation's own writes: neither counted nor stopped
    int stop_after = 0;
    int steps = 0;
    CrashKind how = CrashKind::kProcessDies;
    std::map<std::string, Tracked> files;
};

Simulation sim;

// The power fails: every file written since its last flush loses what was not flushed.
void LosePower() {
    sim.quiet = true;
    for (auto& [path, file] : sim.files) {
        if (!file.dirty) continue;
        std::vector<std::uint8_t> kept = file.flushed;
        if (sim.how == CrashKind::kPowerLostCut)
            kept.assign(file.pending.begin(), file.pending.begin() + static_cast<std::ptrdiff_t>(file.pending.size() / 2));
        WriteFileBytes(path.c_str(), kept);
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

void EndSimulatedCrash() { sim = Simulation{}; }

int FileStepsTaken() { return sim.steps; }

namespace file_steps {

bool Stopped() { return sim.stopped && !sim.quiet; }

void BeforeWrite(const char* path) {
    if (!sim.armed || sim.quiet || sim.files.count(path) != 0) return;
    // A file this run did not create holds what it held before, safely on the disk.
    sim.quiet = true;
    FileBytes old;
    Tracked tracked;
    if (ReadFileBytes(path, old) == ReadStatus::kOk) tracked.flushed.assign(old.data.get(), old.data.get() + old.size);
    sim.files[path] = std::move(tracked);
    sim.quiet = false;
}

void Done(FileStep step, const char* path, std::span<const std::uint8_t> bytes, const char* from) {
    if (!sim.armed || sim.quiet) return;
    switch (step) {
        case FileStep::kCreate: sim.files[path] = Tracked{}; break;
        case FileStep::kWrite: {
            Tracked& file = sim.files[path];
            file.pending.assign(bytes.begin(), bytes.end());
            file.dirty = true;
            break;
        }
        case FileStep::kFlush: {
            Tracked& file = sim.files[path];
            if (file.dirty) file.flushed = std::move(file.pending);
            file.dirty = false;
            break;
        }
        case FileStep::kRename:
        case FileStep::kLink: {
            auto source = sim.files.find(from);
            if (source == sim.files.end()) {
                sim.files.erase(path);
                break;
            }
            Tracked moved = source->second;
            if (step == FileStep::kRename) sim.files.erase(source);
            sim.files[path] = std::move(moved);
            break;
        }
        case FileStep::kRemove: sim.files.erase(path); break;
        case FileStep::kRead: break;
    }
    if (++sim.steps != sim.stop_after) return;
    if (sim.how != CrashKind::kProcessDies) LosePower();
    sim.stopped = true;
}

}  // namespace file_steps
