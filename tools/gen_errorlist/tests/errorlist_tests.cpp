// The committed list of error numbers must be what the catalogue gives today.
#include "tools/gen_errorlist/errorlist.h"

#include "errors/VEK_errorV3.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

TEST(ErrorList, CommittedDocumentIsUpToDate) {
    std::ifstream file(TRZ4_ERRORLIST_DOC, std::ios::binary);
    ASSERT_TRUE(file) << TRZ4_ERRORLIST_DOC;
    std::stringstream committed;
    committed << file.rdbuf();
    EXPECT_EQ(committed.str(), errorListMarkdown())
        << "regenerate with: cmake --build <build> --target errorlist_doc";
}

TEST(ErrorList, EveryEntryHasOneRowWithBothTexts) {
    const std::string text = errorListMarkdown();
    int rows = 0;
    for (size_t at = text.find("\n| "); at != std::string::npos; at = text.find("\n| ", at + 1))
        ++rows;
    EXPECT_EQ(rows, vekCatalogueSize() + 1); // the header row and one per entry
    EXPECT_NE(text.find("| 403 | Keine Antwort vom Gerät | No answer from device |"),
              std::string::npos);
    EXPECT_NE(text.find("| 6 | *(empty)* | *(empty)* |"), std::string::npos);
}
