// Extracting a 50 MB encrypted, deflated member (text and CSV-like lines, compressible like
// the almanac's own content) against Info-ZIP's unzip of the same member to /dev/null and
// against plain zlib inflate of the same deflate stream, without decryption, into a buffer
// already in memory and into a new one. The ratios of the medians are printed at the end.
//
// Times are CPU times of the work (the extraction's over all threads of the process, unzip's
// from the children's resource usage), so that other processes on the machine do not blur
// them. The extraction decrypts large members on a second core while it inflates, so its CPU
// time is the sum of both and only its wall-clock time can come close to inflate alone: the
// *Wall benchmarks measure that, for the extraction and for its baselines. Wall times need an
// otherwise idle machine with two cores to mean anything.
// The archive is made once with Info-ZIP zip and kept in the temporary directory.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>

#include "archive/ArchivePassword.h"
#include "archive/ArchiveReader.h"
#include "archive/ArchiveTestSupport.h"
#include "archive/ZipCrypto.h"

namespace {

constexpr std::size_t kMemberSize = 50u << 20;
const char* const kMember = "Daten.csv";

struct BenchArchive {
    std::string path;
    archive_test::Bytes deflated;  // the member's deflate stream, decrypted
};

void Fail(const std::string& what) {
    std::fprintf(stderr, "bench_archive: %s\n", what.c_str());
    std::exit(1);
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs work once per iteration and books its CPU time, measured by clock.
template <class Work>
void Measure(benchmark::State& state, double (*clock)(), Work work) {
    for (auto _ : state) {
        const double start = clock();
        work();
        state.SetIterationTime(clock() - start);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kMemberSize));
}

const BenchArchive& Archive() {
    static const BenchArchive archive = [] {
        const auto folder = std::filesystem::temp_directory_path() / "kompendor-bench-archive";
        std::filesystem::create_directories(folder);
        BenchArchive a;
        a.path = (folder / "Bench.nox").string();
        if (!std::filesystem::exists(a.path)) {
            archive_test::WriteText((folder / kMember).string(),
                                    archive_test::SampleText(kMemberSize, 2004));
            const std::string command = "cd " + archive_test::Quote(folder.string())
                                        + " && zip -q -P " + kArchivePassword + " Bench.tmp "
                                        + kMember + " && mv Bench.tmp Bench.nox";
            if (std::system(command.c_str()) != 0) Fail("zip failed");
            std::filesystem::remove(folder / kMember);
        }
        // The stream as plain zlib would see it: the member's data, decrypted once here.
        CArchiveReader reader;
        reader.Open(a.path);
        const CArchiveEntry& e = reader.GetEntry(reader.FindFile(kMember));
        const archive_test::Bytes bytes = archive_test::ReadBytes(a.path);
        const std::size_t local = e.localHeaderOffset;
        const std::size_t data = local + 30 + archive_test::Get16(bytes, local + 26)
                                 + archive_test::Get16(bytes, local + 28);
        a.deflated.assign(bytes.begin() + data, bytes.begin() + data + e.comprSize);
        CZipCrypto crypto;
        crypto.Init(kArchivePassword);
        crypto.Decrypt(a.deflated.data(), a.deflated.size());
        a.deflated.erase(a.deflated.begin(), a.deflated.begin() + CZipCrypto::kHeaderSize);
        return a;
    }();
    return archive;
}

void Extract(const BenchArchive& a) {
    CMemoryBlock block;
    if (!ExtractFileToMemory(a.path, kMember, block, kArchivePassword)) Fail("extract failed");
    benchmark::DoNotOptimize(block.data());
}

void BM_ExtractFileToMemory(benchmark::State& state) {
    const BenchArchive& a = Archive();
    Measure(state, ProcessCpuSeconds, [&] { Extract(a); });
}

void BM_ExtractFileToMemoryWall(benchmark::State& state) {
    const BenchArchive& a = Archive();
    Measure(state, WallSeconds, [&] { Extract(a); });
}

void Unzip(const BenchArchive& a) {
    const std::string command = std::string("unzip -p -P ") + kArchivePassword + " "
                                + archive_test::Quote(a.path) + " " + kMember + " >/dev/null";
    if (std::system(command.c_str()) != 0) Fail("unzip failed");
}

void BM_UnzipToDevNull(benchmark::State& state) {
    const BenchArchive& a = Archive();
    Measure(state, ChildrenCpuSeconds, [&] { Unzip(a); });
}

void BM_UnzipToDevNullWall(benchmark::State& state) {
    const BenchArchive& a = Archive();
    Measure(state, WallSeconds, [&] { Unzip(a); });
}

void Inflate(const archive_test::Bytes& deflated, std::uint8_t* out) {
    z_stream zs{};
    inflateInit2(&zs, -MAX_WBITS);
    zs.next_in = const_cast<Bytef*>(deflated.data());
    zs.avail_in = static_cast<uInt>(deflated.size());
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(kMemberSize);
    const int err = inflate(&zs, Z_FINISH);
    inflateEnd(&zs);
    if (err != Z_STREAM_END || zs.total_out != kMemberSize) Fail("inflate failed");
    benchmark::DoNotOptimize(out);
}

// The strict baseline: zlib's work alone, into memory that is already mapped.
void BM_PlainInflate(benchmark::State& state) {
    const BenchArchive& a = Archive();
    std::vector<std::uint8_t> out(kMemberSize);
    Measure(state, ThreadCpuSeconds, [&] { Inflate(a.deflated, out.data()); });
}

void BM_PlainInflateWall(benchmark::State& state) {
    const BenchArchive& a = Archive();
    std::vector<std::uint8_t> out(kMemberSize);
    Measure(state, WallSeconds, [&] { Inflate(a.deflated, out.data()); });
}

// As a caller of zlib would do it for each member: into a new buffer.
void BM_PlainInflateNewBuffer(benchmark::State& state) {
    const BenchArchive& a = Archive();
    Measure(state, ThreadCpuSeconds, [&] {
        std::vector<std::uint8_t> out(kMemberSize);
        Inflate(a.deflated, out.data());
    });
}

// The decryption alone, over the compressed size: the part of the extraction zlib has not.
void BM_DecryptOnly(benchmark::State& state) {
    const BenchArchive& a = Archive();
    archive_test::Bytes buffer = a.deflated;
    Measure(state, ThreadCpuSeconds, [&] {
        CZipCrypto crypto;
        crypto.Init(kArchivePassword);
        crypto.Decrypt(buffer.data(), buffer.size());
        benchmark::DoNotOptimize(buffer.data());
    });
}

#define ARCHIVE_BENCH(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(7)
ARCHIVE_BENCH(BM_ExtractFileToMemory);
ARCHIVE_BENCH(BM_ExtractFileToMemoryWall);
ARCHIVE_BENCH(BM_UnzipToDevNull);
ARCHIVE_BENCH(BM_UnzipToDevNullWall);
ARCHIVE_BENCH(BM_PlainInflate);
ARCHIVE_BENCH(BM_PlainInflateWall);
ARCHIVE_BENCH(BM_PlainInflateNewBuffer);
ARCHIVE_BENCH(BM_DecryptOnly);

// Keeps the median of every benchmark to print the ratios after the run.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("compressed member: %zu bytes of %zu\n", Archive().deflated.size(), kMemberSize);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& m = reporter.medians;
    auto ratio = [&](const char* a, const char* b) {
        if (m.count(a) && m.count(b))
            std::printf("median %s / %s = %.2f\n", a, b, m.at(a) / m.at(b));
    };
    ratio("BM_ExtractFileToMemory", "BM_UnzipToDevNull");
    ratio("BM_ExtractFileToMemoryWall", "BM_UnzipToDevNullWall");
    ratio("BM_ExtractFileToMemory", "BM_PlainInflate");
    ratio("BM_ExtractFileToMemoryWall", "BM_PlainInflateWall");
    ratio("BM_ExtractFileToMemory", "BM_PlainInflateNewBuffer");
    ratio("BM_DecryptOnly", "BM_PlainInflate");
    benchmark::Shutdown();
    return 0;
}
