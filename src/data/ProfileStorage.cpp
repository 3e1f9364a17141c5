#include "data/ProfileStorage.h"

namespace hk {

namespace {

ProfileStorage*& Installed() {
  static ProfileStorage* storage = nullptr;
  return storage;
}

}  // namespace

ProfileStorage& InstalledProfileStorage() {
  ProfileStorage* storage = Installed();
  return storage ? *storage : BuiltInProfileStorage();
}

void InstallProfileStorage(ProfileStorage* storage) { Installed() = storage; }

}  // namespace hk
