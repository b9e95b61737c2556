// The baselines every benchmark measures against: what the system itself needs to read a
// file whole (open, ask the size, one read) and to write one (one write, optionally
// waiting for the disk). POSIX only, like the benchmarks.
#pragma once

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> ReadOnce(const char* path) {
    int fd = open(path, O_RDONLY);
    struct stat st;
    fstat(fd, &st);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    benchmark::DoNotOptimize(read(fd, bytes.data(), bytes.size()));
    close(fd);
    return bytes;
}

inline void WriteOnce(const char* path, const void* data, std::size_t size, bool durable = false) {
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(write(fd, data, size));
    if (durable) fsync(fd);
    close(fd);
}
