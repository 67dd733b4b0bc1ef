#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/base/Rename.h"
#include "platform/base/TempDir.h"

namespace fs = std::filesystem;
using wb::RenameError;

namespace {

using Listing = std::map<std::string, std::string>;  // name -> bytes, "<dir>" for a folder
const std::string kDir = "<dir>";

Listing ListOf(const wb::TempDir& dir) {
    Listing out;
    for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
        std::string rel = fs::relative(e.path(), dir.Path()).string();
        if (e.is_directory()) {
            out[rel] = kDir;
        } else {
            std::ifstream in(e.path(), std::ios::binary);
            out[rel] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return out;
}

// Rows print as their names, not as bytes.
template <typename Row>
auto operator<<(std::ostream& os, const Row& row) -> decltype(row.name, os) { return os << row.name; }

using Route = std::optional<RenameError> (*)(const std::string&, const std::string&);

struct RouteRow {
    const char* name;
    Route route;
};

struct CaseRow {
    const char* name;
    Listing before;
    std::string from, to;
    std::optional<RenameError::Kind> failure;
    Listing after;  // empty: as before
};

const RouteRow kRoutes[] = {
    {"NoReplace", wb::RenameNoReplace},
    {"ByLink", wb::detail::RenameByLink},
    {"ByReservation", wb::detail::RenameByReservation},
};

const CaseRow kCases[] = {
    {"FileRenamed", {{"a", "A"}}, "a", "b", std::nullopt, {{"b", "A"}}},
    {"FileOverFileRefused", {{"a", "A"}, {"b", "B"}}, "a", "b", RenameError::Kind::TargetExists, {}},
    {"FileOverEmptyFolderRefused", {{"a", "A"}, {"b", kDir}}, "a", "b", RenameError::Kind::TargetExists, {}},
    {"FolderRenamed", {{"d", kDir}, {"d/x", "X"}}, "d", "e", std::nullopt, {{"e", kDir}, {"e/x", "X"}}},
    {"FolderOverEmptyFolderRefused", {{"d", kDir}, {"d/x", "X"}, {"e", kDir}}, "d", "e",
     RenameError::Kind::TargetExists, {}},
    {"FolderOverFileRefused", {{"d", kDir}, {"e", "E"}}, "d", "e", RenameError::Kind::TargetExists, {}},
    {"FolderIntoItselfRefused", {{"d", kDir}}, "d", "d/e", RenameError::Kind::System, {}},
    {"MissingSource", {{"b", "B"}}, "a", "c", RenameError::Kind::System, {}},
};

class RenameNoReplaceTest : public testing::TestWithParam<std::tuple<RouteRow, CaseRow>> {};

TEST_P(RenameNoReplaceTest, NeverReplacesAnything) {
    auto [route, c] = GetParam();
    wb::TempDir dir("rename");
    for (const auto& [name, bytes] : c.before) {
        if (bytes == kDir) fs::create_directories(dir / name);
        else std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    auto error = route.route(dir / c.from, dir / c.to);
    ASSERT_EQ(error.has_value(), c.failure.has_value()) << (error ? error->reason : "renamed");
    if (error) {
        EXPECT_EQ(error->kind, *c.failure);
        EXPECT_FALSE(error->reason.empty());
    }
    EXPECT_EQ(ListOf(dir), c.after.empty() ? c.before : c.after);
}

INSTANTIATE_TEST_SUITE_P(Routes, RenameNoReplaceTest,
                         testing::Combine(testing::ValuesIn(kRoutes), testing::ValuesIn(kCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST(RenameNoReplace, RelativePathsAreRefused) {
    wb::TempDir dir("rename");
    std::ofstream(dir / "a") << "A";
    for (auto [from, to] : {std::pair{std::string("a"), dir / "b"}, std::pair{dir / "a", std::string("b")}}) {
        auto error = wb::RenameNoReplace(from, to);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind, RenameError::Kind::NotAbsolute);
    }
    EXPECT_TRUE(fs::exists(dir / "a"));
}

} // namespace
