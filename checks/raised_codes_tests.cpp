// Every error code the system can raise: each module's table of raised codes against the
// catalogue, and the sources against the tables.
//
// The tables alone could be fooled by a code that a module forms but does not list, so the
// test also reads the sources. Everything that is not a test is scanned, comments and string
// literals removed first, and must show:
//   - no negative literal of six or seven digits (a bare code such as -400301);
//   - no code formed by hand as -(kind * 1000 + site);
//   - every code formed as vekCode(VekKind::<name>, <literal site>), nothing else inside the
//     call, each site at most once;
// and the set of codes found that way must be exactly the set the tables list. So a module
// with a code outside its table, a table the test does not walk, a second use of a site or a
// number typed by hand all fail here.
#include "app/Funktionen.h"
#include "app/Mainpanel_Main.h"
#include "cardlink/cardoperations.h"
#include "cardlink/Vek_Com.h"
#include "cardlink/vektrz4.h"
#include "errors/VEK_errorV3.h"
#include "platform/tests/scratch_dir.h"
#include "tools/trz4ctl/trz4ctl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ModuleTable {
    const char *module;
    std::span<const VekRaisedCode> codes;
};

const ModuleTable kTables[] = {
    {"cardlink/vektrz4", vektrz4::kRaisedCodes},       {"cardlink/Vek_Com", vekcom::kRaisedCodes},
    {"cardlink/cardoperations", trzcom::kRaisedCodes}, {"app/Funktionen", funktionen::kRaisedCodes},
    {"app/Mainpanel_Main", mainpanel::kRaisedCodes},   {"tools/trz4ctl", trz4ctl::kRaisedCodes},
};

// The source with comments and the contents of string and character literals blanked out
// (line breaks kept, so line numbers stay right). Raw strings R"d(...)d" included.
std::string withoutCommentsAndStrings(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    auto keepLineBreaks = [&out](const std::string &skipped) {
        for (char c : skipped)
            out += c == '\n' ? '\n' : ' ';
    };
    while (i < text.size()) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '/' && next == '/') {
            size_t end = text.find('\n', i);
            end = end == std::string::npos ? text.size() : end;
            keepLineBreaks(text.substr(i, end - i));
            i = end;
        } else if (c == '/' && next == '*') {
            size_t end = text.find("*/", i + 2);
            end = end == std::string::npos ? text.size() : end + 2;
            keepLineBreaks(text.substr(i, end - i));
            i = end;
        } else if (c == 'R' && next == '"' &&
                   (i == 0 || !std::isalnum((unsigned char)text[i - 1]))) {
            const size_t open = text.find('(', i + 2);
            const std::string delimiter = ")" + text.substr(i + 2, open - i - 2) + "\"";
            size_t end = text.find(delimiter, open);
            end = end == std::string::npos ? text.size() : end + delimiter.size();
            keepLineBreaks(text.substr(i, end - i));
            out += "\"\"";
            i = end;
        } else if (c == '"' ||
                   (c == '\'' && (i == 0 || !std::isxdigit((unsigned char)text[i - 1])))) {
            // A quote after a hex digit is a digit separator (1'000), not a character literal.
            size_t end = i + 1;
            while (end < text.size() && text[end] != c && text[end] != '\n')
                end += text[end] == '\\' ? 2 : 1;
            end = std::min(end + 1, text.size());
            keepLineBreaks(text.substr(i, end - i));
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

// A negative literal of six or seven digits, the shape of an error code typed by hand; the
// second group is the number.
const std::regex &bareCodePattern() {
    static const std::regex pattern(R"((^|[^\w.])-\s*\(?\s*([1-9]\d{5,6})\b)");
    return pattern;
}

bool isTestPath(const fs::path &relative) {
    for (const fs::path &part : relative.parent_path()) {
        const std::string name = part.string();
        if (name == "tests" || name.ends_with("_tests"))
            return true;
    }
    const std::string file = relative.filename().string();
    return file.ends_with("_test.cpp") || file.ends_with("_tests.cpp");
}

// The C++ sources of the system that are not tests, relative to the source root.
std::vector<fs::path> productionSources(const fs::path &root) {
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && (name.starts_with(".") || name.starts_with("build"))) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string extension = it->path().extension().string();
        if (!it->is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        const fs::path relative = fs::relative(it->path(), root);
        if (!isTestPath(relative))
            files.push_back(relative);
    }
    return files;
}

int lineOf(const std::string &text, size_t offset) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// The enumerators of VekKind as the header writes them.
std::map<std::string, int> kindsOfTheHeader(const fs::path &root) {
    const std::string header =
        withoutCommentsAndStrings(readFileBytes(root / "errors/VEK_errorV3.h"));
    std::map<std::string, int> kinds;
    const size_t start = header.find("enum class VekKind");
    const size_t end = header.find("};", start);
    if (start == std::string::npos || end == std::string::npos)
        return kinds;
    const std::string body = header.substr(start, end - start);
    static const std::regex enumerator(R"((\w+)\s*=\s*(\d+))");
    for (std::sregex_iterator it(body.begin(), body.end(), enumerator), last; it != last; ++it)
        kinds[(*it)[1]] = std::stoi((*it)[2]);
    return kinds;
}

struct FoundCode {
    int kind;
    int site;
    std::string where;
};

TEST(RaisedCodes, EveryTabledCodeHasACatalogueEntryAndASiteOfItsOwn) {
    std::map<int, std::string> siteOwners;
    for (const ModuleTable &table : kTables) {
        EXPECT_FALSE(table.codes.empty()) << table.module;
        for (const VekRaisedCode &entry : table.codes) {
            const std::string who = std::string(table.module) + ": " + entry.raisedBy;
            const int kind = vekKindOf(entry.code);
            const int site = vekSiteOf(entry.code);
            EXPECT_LT(entry.code, 0) << who;
            EXPECT_EQ(entry.code, -(kind * 1000 + site)) << who;
            EXPECT_TRUE(vekCatalogueFind(kind, nullptr, nullptr))
                << who << ": kind " << kind << " has no catalogue entry";
            EXPECT_NE(kind, kVekSilentKind) << who << ": the silent kind would never be shown";
            const auto [owner, inserted] = siteOwners.emplace(site, who);
            EXPECT_TRUE(inserted) << "site " << site << " raised by \"" << who << "\" and by \""
                                  << owner->second << "\"";
        }
    }
}

TEST(RaisedCodes, EveryNamedKindHasACatalogueEntry) {
    const std::map<std::string, int> kinds = kindsOfTheHeader(TRZ4_SOURCE_ROOT);
    ASSERT_FALSE(kinds.empty()) << "VekKind not found in errors/VEK_errorV3.h";
    for (const auto &[name, kind] : kinds) {
        const char *german = nullptr;
        EXPECT_TRUE(vekCatalogueFind(kind, &german, nullptr)) << name << " = " << kind;
        EXPECT_TRUE(german != nullptr && german[0] != '\0') << name << " = " << kind;
    }
}

TEST(RaisedCodes, TheSourcesFormEveryCodeOnceThroughTheHelperAndTheTablesListThemAll) {
    const fs::path root = TRZ4_SOURCE_ROOT;
    const std::map<std::string, int> kinds = kindsOfTheHeader(root);
    const std::regex &bareCode = bareCodePattern();
    static const std::regex handFormed(R"(\*\s*1000\s*\+)");
    static const std::regex helperCall(R"(\bvekCode\s*\(([^)]*)\))");
    static const std::regex helperArguments(R"(^\s*VekKind::(\w+)\s*,\s*(\d+)\s*$)");
    const fs::path helperHeader = "errors/VEK_errorV3.h";

    std::vector<fs::path> sources = productionSources(root);
    ASSERT_GT(sources.size(), 50u) << "the source root " << root << " looks wrong";
    std::map<int, FoundCode> bySite;
    for (const fs::path &relative : sources) {
        const std::string code = withoutCommentsAndStrings(readFileBytes(root / relative));
        for (std::sregex_iterator it(code.begin(), code.end(), bareCode), last; it != last; ++it)
            ADD_FAILURE() << relative.string() << ":" << lineOf(code, it->position(2))
                          << ": bare error code -" << (*it)[2]
                          << "; use the named constant of the module that raises it";
        if (relative != helperHeader) {
            for (std::sregex_iterator it(code.begin(), code.end(), handFormed), last; it != last;
                 ++it)
                ADD_FAILURE() << relative.string() << ":" << lineOf(code, it->position())
                              << ": an error code formed by hand; use vekCode";
        }
        for (std::sregex_iterator it(code.begin(), code.end(), helperCall), last; it != last;
             ++it) {
            const std::string arguments = (*it)[1];
            const std::string where =
                relative.string() + ":" + std::to_string(lineOf(code, it->position()));
            if (relative == helperHeader && arguments.find("VekKind kind") != std::string::npos)
                continue; // the helper's own definition
            std::smatch parts;
            if (!std::regex_match(arguments, parts, helperArguments)) {
                ADD_FAILURE() << where << ": vekCode(" << arguments
                              << ") does not name a kind and a literal site";
                continue;
            }
            const auto kind = kinds.find(parts[1]);
            if (kind == kinds.end()) {
                ADD_FAILURE() << where << ": VekKind::" << parts[1] << " is not in the header";
                continue;
            }
            const int site = std::stoi(parts[2]);
            const auto [earlier, inserted] =
                bySite.emplace(site, FoundCode{kind->second, site, where});
            EXPECT_TRUE(inserted) << "site " << site << " is formed at " << where << " and at "
                                  << earlier->second.where;
        }
    }

    std::set<int> tabled;
    for (const ModuleTable &table : kTables)
        for (const VekRaisedCode &entry : table.codes)
            tabled.insert(entry.code);
    std::set<int> formed;
    for (const auto &[site, found] : bySite) {
        const int code = -(found.kind * 1000 + found.site);
        formed.insert(code);
        EXPECT_TRUE(tabled.count(code) == 1)
            << found.where << " forms " << code << ", which no table of raised codes lists";
    }
    for (int code : tabled)
        EXPECT_TRUE(formed.count(code) == 1) << code << " is listed but formed nowhere";
}

// The scan itself: what it must find and what it must let pass.
TEST(RaisedCodes, SourceScanSeesThroughCommentsAndStrings) {
    const std::string text = "int a = -400301; // -400302\n"
                             "const char *s = \"-400303\"; char c = '\"';\n"
                             "/* -400304\n */ int b = -(400305);\n"
                             "auto r = R\"x(-400306 )\" )x\"; long n = 1'000'000;\n";
    const std::string code = withoutCommentsAndStrings(text);
    EXPECT_EQ(std::count(code.begin(), code.end(), '\n'), 5);
    std::vector<std::string> found;
    const std::regex &bareCode = bareCodePattern();
    for (std::sregex_iterator it(code.begin(), code.end(), bareCode), last; it != last; ++it)
        found.push_back((*it)[2]);
    EXPECT_EQ(found, (std::vector<std::string>{"400301", "400305"}));
}

} // namespace
