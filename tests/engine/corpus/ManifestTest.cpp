#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "corpus/Manifest.h"

namespace {

namespace fs = std::filesystem;
using fetchcore::Manifest;
using fetchcore::ManifestEntry;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ManifestLine, EveryKeyInItsPlaceWithNullForWhatIsMissing) {
    fetchcore::DownloadResult result;
    result.Page = platform::ResponseBody::Holding("page");
    result.Exchange = {200,
                       "http://b/\"final\"",
                       "text/html",
                       {},
                       std::chrono::system_clock::time_point(std::chrono::seconds(86400))};
    EXPECT_EQ(fetchcore::ManifestLine(fetchcore::FetchedEntry(
                  3, "http://a/", result, std::optional<std::string>("003-a.htm"), "")),
              "{\"position\":3,\"url\":\"http://a/\",\"state\":\"Complete\","
              "\"file\":\"003-a.htm\",\"status\":200,\"final_url\":\"http://b/\\\"final\\\"\","
              "\"content_type\":\"text/html\",\"bytes\":4,\"sha256\":null,"
              "\"fetched_at\":\"1970-01-02T00:00:00Z\",\"error\":null,\"title\":null,"
              "\"snippet\":null}\n")
        << "a page whose digest was not asked for has none";
    fetchcore::DownloadResult refused;
    refused.Exchange.Status = 404;
    EXPECT_EQ(fetchcore::ManifestLine(
                  fetchcore::FetchedEntry(4, "http://c/", refused, std::nullopt, "Not Found")),
              "{\"position\":4,\"url\":\"http://c/\",\"state\":\"Failed\",\"file\":null,"
              "\"status\":404,\"final_url\":null,\"content_type\":null,\"bytes\":null,"
              "\"sha256\":null,\"fetched_at\":null,\"error\":\"Not Found\",\"title\":null,"
              "\"snippet\":null}\n");
    ManifestEntry skipped{5, "https://d/\xe9", "Skipped"};
    skipped.title = "T\"itle";
    EXPECT_EQ(fetchcore::ManifestLine(skipped),
              "{\"position\":5,\"url\":\"https://d/\\u00e9\",\"state\":\"Skipped\",\"file\":null,"
              "\"status\":null,\"final_url\":null,\"content_type\":null,\"bytes\":null,"
              "\"sha256\":null,\"fetched_at\":null,\"error\":null,\"title\":\"T\\\"itle\","
              "\"snippet\":null}\n");
}

// Run again with Resume: a kept page keeps the line its run wrote; a kept page the earlier
// run listed without a manifest is measured from its file; the file is whole, in position
// order, with no temporary name left.
TEST(Manifest, AKeptPageKeepsItsEarlierLineAndTheFileIsWrittenWholeInPositionOrder) {
    const auto folder = fs::temp_directory_path() / ("kes-manifest-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string earlierLine =
        "{\"position\":1,\"url\":\"http://a/\",\"state\":\"Complete\",\"file\":\"001-a.htm\","
        "\"bytes\":9,\"title\":\"kept as it was\"}";
    std::ofstream(folder / "manifest.jsonl")
        << earlierLine << "\n"
        << "{\"position\":2,\"url\":\"http://b/\",\"state\":\"Failed\",\"file\":null}\n"
        << "not json\n";
    std::ofstream(folder / "002-b.htm") << "abc";
    Manifest manifest(folder.string() + "/");
    manifest.ReadEarlier();
    manifest.Add({9, "http://z/", "Skipped"});
    ManifestEntry second{2, "http://b/", "Complete"};
    second.file = "002-b.htm";
    manifest.AddKept(second);
    ManifestEntry first{1, "http://a/", "Complete"};
    first.file = "001-a.htm";
    manifest.AddKept(first);
    manifest.Write();

    EXPECT_EQ(
        ReadFile(folder / "manifest.jsonl"),
        earlierLine + "\n" +
            "{\"position\":2,\"url\":\"http://b/\",\"state\":\"Complete\",\"file\":\"002-b.htm\","
            "\"status\":null,\"final_url\":null,\"content_type\":null,\"bytes\":3,"
            "\"sha256\":\"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\","
            "\"fetched_at\":null,\"error\":null,\"title\":null,\"snippet\":null}\n" +
            fetchcore::ManifestLine({9, "http://z/", "Skipped"}));
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files += 1;
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    }
    EXPECT_EQ(files, 2);
    fs::remove_all(folder);
}

}  // namespace
