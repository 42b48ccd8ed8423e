#include "desktop/data/folder_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int listings_read = 0;

std::vector<std::string> session_folder(const std::string& folder) {
  listings_read++;
  if (folder != "C:\\session\\") return {};
  return {"T0102A-01.spl", "T0101A.TST", "t0101a-01.SPL", "T0101A-00.spl", "T0101A-1.spl",
          "T0101A-001.spl", "T0101A-00.spx", "T0101AB-00.spl", "T0102A.TST", "T0101A_00.spl", "t0101a.ST_"};
}

TEST(FolderListing, SampleFilesAreTheTestsTwoCharacterNumbersInAnyCaseByName) {
  const struct {
    const char* name;
    bool sample;
  } cases[] = {
      {"T0101A-00.spl", true},   {"t0101a-7x.SPL", true},  {"T0101A-1.spl", false}, {"T0101A-001.spl", false},
      {"T0101A-00.spx", false},  {"T0101AB-00.spl", false}, {"T0101A_00.spl", false}, {"T0101A.TST", false},
      {"T0101A-00.spl.bak", false},
  };
  for (const auto& c : cases) EXPECT_EQ(is_sample_file_of(c.name, "T0101A"), c.sample) << c.name;

  listings_read = 0;
  EXPECT_EQ(sample_file_names("C:\\session\\T0101A.TST", session_folder),
            (std::vector<std::string>{"T0101A-00.spl", "t0101a-01.SPL"}));
  EXPECT_EQ(sample_file_names("C:\\session\\T0102A.TST", session_folder), std::vector<std::string>{"T0102A-01.spl"});
  EXPECT_TRUE(sample_file_names("C:\\missing\\T0101A.TST", session_folder).empty());
  EXPECT_EQ(listings_read, 3);  // no share: every call lists its folder
  EXPECT_FALSE(listed_as_absent("C:\\session\\T0102A.st_"));  // nothing is known without a share
}

TEST(FolderListing, ASessionLoadListsEachFolderOnceAndForgetsItAtItsEnd) {
  listings_read = 0;
  {
    folderListingShare session;
    {
      folderListingShare special_list;  // a list loaded inside the session
      EXPECT_EQ(sample_file_names("C:\\session\\T0101A.TST", session_folder).size(), 2u);
    }
    EXPECT_EQ(sample_file_names("C:\\session\\T0102A.TST", session_folder).size(), 1u);
    EXPECT_TRUE(sample_file_names("C:\\missing\\T0101A.TST", session_folder).empty());
    EXPECT_EQ(listings_read, 2);

    // What the listing lacks is absent; what it has, in any case, is not.
    EXPECT_TRUE(listed_as_absent("C:\\session\\T0102A.st_"));
    EXPECT_FALSE(listed_as_absent("C:\\session\\T0101A.st_"));
    EXPECT_FALSE(listed_as_absent("C:\\missing\\T0101A.st_"));  // could not be read
    EXPECT_FALSE(listed_as_absent("C:\\other\\T0101A.st_"));   // never listed
  }
  // A later load sees the folder as it is then.
  EXPECT_FALSE(listed_as_absent("C:\\session\\T0102A.st_"));
  sample_file_names("C:\\session\\T0101A.TST", session_folder);
  EXPECT_EQ(listings_read, 3);
}

}  // namespace
