#include "sample_file_names.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

struct shareState {
  int depth = 0;
  std::map<std::string, std::vector<std::string>> listings;
};

// Session loads run on the thread of the windows that start them.
thread_local shareState share;

bool same_nocase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; i++) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
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

std::vector<std::string> sample_file_names(const std::string& folder, const std::string& base, folderReader read) {
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
