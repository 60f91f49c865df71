// Throughput of the data formats beside memcpy of the same bytes in the same run: loading a
// 1 MB binary file with each mode (the block-read modes must beat field-by-field mode 0), and
// extracting every member of a 10 MB stored archive.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/DiskStream.h"
#include "resources/MemoryStream.h"
#include "resources/RarArchive.h"
#include "resources/RarWriter.h"
#include "udf/UdfReader.h"
#include "udf/UdfWriter.h"

namespace {

std::vector<uint8_t> ReadWhole(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        uint8_t buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(file);
    }
    return bytes;
}

// A scene-like file of about 1 MB: nodes with typed leaves, a vertex block and keyframe arrays.
struct SceneFile {
    std::string path = "/tmp/quelmont-bench-scene.udf";
    std::vector<uint8_t> bytes;

    SceneFile() {
        UdfNode children("Children", "Node", 0);
        children.SetFlags(UdfNode::kStruct);
        std::vector<uint8_t> block(2048);
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 13);
        for (int n = 0; n < 200; ++n) {
            UdfNode* node = children.AddArray(EngineString(int32_t{n}, 10), "Node", 0);
            node->SetFlags(UdfNode::kStruct);
            node->AddString("Name", "node");
            node->AddInt("Material", n % 7);
            for (int i = 0; i < 8; ++i) node->AddReal(EngineString("M") + EngineString(int32_t{i}, 10), 0.5f * i);
            node->AddData("Verts", "", block.data(), static_cast<uint32_t>(block.size()), true);
            node->AddData("Indices", "int", block.data(), 1024, true);
            UdfNode* keys = node->AddArray("Rotation", "Sample", 31);
            keys->SetFlags(UdfNode::kStruct | UdfNode::kArray);
            for (int k = 0; k < 31; ++k) keys->AddData(EngineString(int32_t{k}, 10), "AniKey", block.data(), 32, true);
        }
        UdfWriter().Save(path.c_str(), {&children}, nullptr, 0);
        bytes = ReadWhole(path);
    }
    ~SceneFile() { std::remove(path.c_str()); }
};

// Counts the reads that reach the disk: a whole-area mode should make one for the root's area
// instead of one per field.
class CountingStream final : public DataStream {
public:
    explicit CountingStream(DataStream& inner) : inner_(inner) {}
    bool Open(const char* name, int mode) override { return inner_.Open(name, mode); }
    bool Close() override { return inner_.Close(); }
    uint32_t Tell() const override { return inner_.Tell(); }
    uint32_t Size() const override { return inner_.Size(); }
    bool Seek(int64_t position, int origin) override { return inner_.Seek(position, origin); }
    bool IsEof() const override { return inner_.IsEof(); }
    uint32_t Read(void* buffer, uint32_t count) override {
        ++reads;
        return inner_.Read(buffer, count);
    }
    uint32_t Write(const void* buffer, uint32_t count) override { return inner_.Write(buffer, count); }

    uint64_t reads = 0;

private:
    DataStream& inner_;
};

const SceneFile& Scene() {
    static const SceneFile scene;
    return scene;
}

// A 10 MB stored archive of 100 members, read in place.
struct Archive {
    std::vector<uint8_t> bytes;
    std::vector<std::string> names;
    uint64_t memberBytes = 0;

    Archive() {
        MemoryStream out;
        out.Open(nullptr, DataStream::kWrite);
        RarWriter writer(out);
        writer.Start();
        writer.AddDirectory("Media");
        std::vector<uint8_t> data(100 * 1024);
        for (int m = 0; m < 100; ++m) {
            for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + m);
            names.push_back("Media\\file" + std::to_string(m) + ".bin");
            writer.AddFile(names.back(), data);
            memberBytes += data.size();
        }
        writer.Finish();
        bytes.resize(out.Size());
        out.Seek(0, DataStream::kFromStart);
        out.Read(bytes.data(), out.Size());
    }
};

const Archive& MediaArchive() {
    static const Archive archive;
    return archive;
}

void LoadMemory(benchmark::State& state) {
    const SceneFile& scene = Scene();
    const auto mode = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        UdfReader reader;
        std::unique_ptr<UdfNode> root = reader.OpenMemory(scene.bytes.data(), static_cast<uint32_t>(scene.bytes.size()));
        reader.LoadNode(*root, mode, 0);
        benchmark::DoNotOptimize(root->ChildCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scene.bytes.size()));
}

void LoadDisk(benchmark::State& state) {
    const SceneFile& scene = Scene();
    const auto mode = static_cast<uint32_t>(state.range(0));
    uint64_t reads = 0;
    for (auto _ : state) {
        DiskStream disk;
        disk.Open(scene.path.c_str(), DataStream::kRead);
        CountingStream stream(disk);
        UdfReader reader;
        std::unique_ptr<UdfNode> root = reader.OpenStream(stream);
        reader.LoadNode(*root, mode, 0);
        benchmark::DoNotOptimize(root->ChildCount());
        reads = stream.reads;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scene.bytes.size()));
    state.counters["reads"] = static_cast<double>(reads);
}

// The yardstick: copying the same bytes.
void Memcpy(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), copy.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * copy.size()));
}

void MemcpyScene(benchmark::State& state) { Memcpy(state, Scene().bytes); }

void ExtractEveryMember(benchmark::State& state) {
    const Archive& media = MediaArchive();
    RarArchive archive;
    archive.Open(FileSource(media.bytes.data(), static_cast<uint32_t>(media.bytes.size()), true));
    for (auto _ : state) {
        for (const std::string& name : media.names) {
            std::unique_ptr<DataStream> stream = archive.OpenFile(name.c_str(), DataStream::kRead);
            benchmark::DoNotOptimize(stream->Size());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * media.memberBytes));
}

void MemcpyArchive(benchmark::State& state) { Memcpy(state, MediaArchive().bytes); }

void Modes(benchmark::internal::Benchmark* b) {
    for (const int mode : {0x00, 0x10, 0x40, 0x80, 0xC0, 0xD0}) b->Arg(mode);
}

}  // namespace

BENCHMARK(MemcpyScene);
BENCHMARK(LoadMemory)->Apply(Modes);
BENCHMARK(LoadDisk)->Apply(Modes);
BENCHMARK(MemcpyArchive);
BENCHMARK(ExtractEveryMember)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
