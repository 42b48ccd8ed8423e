// The sample files of a stored test: "<test name without extension>-NN.spl"
// beside it (NN any two characters; case is not compared, as the file
// system does not), found in a listing of the test's folder and taken in
// name order, since a state file's sample flags are positional.
//
// While a folderListingShare lives (a session loading its tests), each
// folder is listed once and that listing serves every test loaded from it;
// a session folder holds some ten files a test, so listing it once for each
// test would read it a hundred times over. Without one, each call lists the
// folder anew.
#ifndef SAMPLE_FILE_NAMES_H
#define SAMPLE_FILE_NAMES_H

#include <string>
#include <vector>

// A folder's file names (no folders); empty when it cannot be read.
using folderReader = std::vector<std::string> (*)(const std::string& folder);

class folderListingShare {
 public:
  // One made while another lives shares the outer one's listings.
  folderListingShare();
  ~folderListingShare();
  folderListingShare(const folderListingShare&) = delete;
  folderListingShare& operator=(const folderListingShare&) = delete;
};

// Whether name is one of base's sample files.
bool is_sample_file_of(const std::string& name, const std::string& base);

// The names of base's sample files in folder, by name, listed through read.
std::vector<std::string> sample_file_names(const std::string& folder, const std::string& base, folderReader read);

#endif
