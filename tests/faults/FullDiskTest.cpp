// kestrova-cli saving into a folder on a full disk: a small tmpfs of its own, mounted in a
// mount namespace of the child alone.
#include <map>
#include <sstream>

#include "CliFault.h"
#include "CliProcess.h"
#include "serpdouble/SerpDouble.h"

namespace {

using cli_fault::Rows;

// Mounts a tmpfs of the size given first on the folder given second, runs the rest, then
// lists what the folder holds ("<size> <name>" a line) after a marker line. Exit 97: the
// mount was refused.
constexpr char kOnSmallDisk[] =
    "s=$1; d=$2; shift 2; mount -t tmpfs -o size=$s kestrova-full \"$d\" || exit 97; "
    "\"$@\"; rc=$?; echo '-- files'; find \"$d\" -type f -printf '%s %f\\n'; exit $rc";

struct Disk {
    const char* size;
    std::size_t pageSize;
};

class FullDisk : public cli_fault::CliFault, public ::testing::WithParamInterface<Disk> {};

// Small pages fill the disk as they are written; large ones while they arrive, as they
// wait on the disk they are saved to.
INSTANTIATE_TEST_SUITE_P(PageSizes, FullDisk,
                         ::testing::Values(Disk{"400k", 100 * 1024},   // three fit, not four
                                           Disk{"11m", 1280 * 1024}),  // eight fit, not nine
                         [](const auto& info) {
                             return info.param.pageSize > (1 << 20) ? "Large" : "Small";
                         });

TEST_P(FullDisk, PagesThatDoNotFitFailAndLeaveNoFileBehind) {
    serpdouble::SerpDouble::Options options;
    options.totalResults = 10;
    options.pageSize = GetParam().pageSize;
    serpdouble::SerpDouble server(options);
    server.Start();

    cli_test::CliProcess cli(
        {"--format", "tsv", "--quiet", "--to", "10", "--download", Out(), "--url",
         server.SearchURL("full")},
        Appdata(), {"unshare", "-rm", "sh", "-c", kOnSmallDisk, "sh", GetParam().size, Out()});
    const auto r = cli.Wait();
    if (r.status == 97 || r.err.starts_with("unshare:")) GTEST_SKIP() << "no tmpfs here: " << r.err;
    ASSERT_EQ(r.status, 0) << r.err;

    const auto marker = r.out.find("-- files\n");
    ASSERT_NE(marker, std::string::npos) << r.out;
    const auto rows = Rows(r.out.substr(0, marker));
    std::map<std::string, std::size_t> files;  // name -> size
    std::istringstream listing(r.out.substr(marker + 9));
    for (std::size_t size; listing >> size;) {
        std::string name;
        std::getline(listing >> std::ws, name);
        files[name] = size;
    }

    ASSERT_EQ(rows.size(), 10u) << r.out;
    int saved = 0, full = 0;
    for (const auto& [n, row] : rows) {
        SCOPED_TRACE(row.url);
        if (row.state == "Complete") {
            ++saved;
            const auto name = row.detail.substr(row.detail.rfind('/') + 1);
            ASSERT_EQ(files.count(name), 1u) << name;
            EXPECT_EQ(files[name], options.pageSize);  // whole
        } else {
            ++full;
            EXPECT_EQ(row.state, "Failed");
            EXPECT_EQ(row.detail, "No space left on device");
        }
    }
    EXPECT_GT(saved, 0);
    EXPECT_GT(full, 0);
    EXPECT_EQ(files.size(), static_cast<std::size_t>(saved)) << "a partial or temporary file";
}

}  // namespace
