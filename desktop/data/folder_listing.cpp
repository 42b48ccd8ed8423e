#include "desktop/data/folder_listing.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

struct shareState {
  int depth = 0;
  std::map<std::string, std::vector<std::string>> listings;
};

// Session loads run on the thread of the window that starts them.
thread_local shareState share;

bool same_nocase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; i++) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

size_t name_start(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? 0 : cut + 1;
}

}  // namespace

folderListingShare::folderListingShare() { share.depth++; }

folderListingShare::~folderListingShare() {
  if (--share.depth == 0) share.listings.clear();
}

bool is_sample_file_of(const std::string& name, const std::string& base) {
  static const char extension[] = ".spl";
  const size_t b = base.size();
  return name.size() == b + 7 && same_nocase(name.data(), base.data(), b) && name[b] == '-' &&
         same_nocase(name.data() + b + 3, extension, 4);
}

std::vector<std::string> sample_file_names(const std::string& test_path, folderReader read) {
  const size_t start = name_start(test_path);
  const std::string folder = test_path.substr(0, start);
  const size_t dot = test_path.rfind('.');
  const std::string base = test_path.substr(start, dot == std::string::npos || dot < start ? std::string::npos : dot - start);
  std::vector<std::string> own;
  const std::vector<std::string>* names = &own;
  if (share.depth > 0) {
    auto found = share.listings.find(folder);
    if (found == share.listings.end()) found = share.listings.emplace(folder, read(folder)).first;
    names = &found->second;
  } else {
    own = read(folder);
  }
  std::vector<std::string> samples;
  for (const std::string& name : *names) {
    if (is_sample_file_of(name, base)) samples.push_back(name);
  }
  std::sort(samples.begin(), samples.end());
  return samples;
}

bool listed_as_absent(const std::string& path) {
  if (share.depth == 0) return false;
  const size_t start = name_start(path);
  const auto found = share.listings.find(path.substr(0, start));
  // An empty listing says nothing: the folder of a test being loaded holds
  // at least the test, so its reading failed.
  if (found == share.listings.end() || found->second.empty()) return false;
  const size_t length = path.size() - start;
  return std::none_of(found->second.begin(), found->second.end(), [&](const std::string& name) {
    return name.size() == length && same_nocase(name.data(), path.data() + start, length);
  });
}
