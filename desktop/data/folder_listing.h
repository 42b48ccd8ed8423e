// The listing of a stored test's folder, as loading the test uses it.
//
// A test's sample files are "<test name without extension>-NN.spl" beside
// it (NN any two characters; case is not compared, as the file system does
// not), found in a listing of the folder and taken in name order, since a
// state file's sample flags are positional.
//
// While a folderListingShare lives (a session loading its tests), each
// folder is listed once and that listing serves every test loaded from it:
// a session folder holds some ten files a test, so listing it for each test
// would read it a hundred times over. The same listing tells that a file is
// not there (a test without a state file yet), where opening it would have
// the system read the whole folder in search of the name in another case.
// Without a share each call lists the folder anew and nothing is known to
// be absent.
#ifndef DESKTOP_DATA_FOLDER_LISTING_H
#define DESKTOP_DATA_FOLDER_LISTING_H

#include <string>
#include <vector>

// A folder's file names (no folders); empty when it cannot be read. The
// folder is a path's part up to its last separator, "" for none.
using folderReader = std::vector<std::string> (*)(const std::string& folder);

class folderListingShare {
 public:
  // One made while another lives shares the outer one's listings.
  folderListingShare();
  ~folderListingShare();
  folderListingShare(const folderListingShare&) = delete;
  folderListingShare& operator=(const folderListingShare&) = delete;
};

// Whether name is one of the sample files of the test named base (without
// its extension).
bool is_sample_file_of(const std::string& name, const std::string& base);

// The names of the sample files of the test at test_path, by name, from a
// listing of its folder made through read.
std::vector<std::string> sample_file_names(const std::string& test_path, folderReader read);

// True only while a share holds a listing of path's folder that lacks
// path's file name (an empty listing, a folder that could not be read,
// tells nothing).
bool listed_as_absent(const std::string& path);

#endif
