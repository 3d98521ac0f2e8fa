// The pool that keeps source paths for the tree.
#include "source_path_pool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every view handed out must still read its own path after later paths filled one block and
// started others, including paths longer than a block.
TEST(SourcePathPool, ViewsStayValidAcrossBlocks)
{
    SourcePathPool pool;
    std::vector<std::string> written;
    for (int i = 0; i < 5000; ++i)
        written.push_back("C:\\work\\src\\module_" + std::to_string(i) + ".c");
    written.push_back(std::string(200 * 1024, 'x'));  // longer than a block
    written.push_back("");
    written.push_back("C:\\after\\the\\long\\one.c");

    std::vector<std::string_view> kept;
    for (const std::string& path : written)
        kept.push_back(pool.keep(path));

    ASSERT_EQ(kept.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(kept[i], written[i]) << i;
        // A copy, not a view of the caller's string.
        if (!written[i].empty()) {
            EXPECT_NE(kept[i].data(), written[i].data()) << i;
        }
    }
}
