// Every run of the evaluation's tests keeps its thumbnails in a folder of
// its own, never in the user's cache; the programs the tests start inherit it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

class CacheHome : public ::testing::Environment {
  public:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("bb-cache-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
        // The cache is used only in folders no one else may write.
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
#ifdef _WIN32
        _putenv_s("LOCALAPPDATA", folder_.string().c_str());
#else
        ::setenv("XDG_CACHE_HOME", folder_.c_str(), 1);
#endif
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

  private:
    std::filesystem::path folder_;
};

[[maybe_unused]] const auto* const cacheHome = ::testing::AddGlobalTestEnvironment(new CacheHome);

} // namespace
