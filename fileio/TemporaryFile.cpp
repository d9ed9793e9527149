#include "fileio/TemporaryFile.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

namespace posewright {

namespace {
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary file the signal handler removes: a plain character array and
// a flag, the only state a handler may touch safely.
char gPendingPath[PATH_MAX + 1];
volatile std::sig_atomic_t gPending = 0;

extern "C" void RemovePendingAndRaise(int signal) {
  if (gPending != 0) {
    unlink(gPendingPath);
    gPending = 0;
  }
  // Die of the signal as if there were no handler, so the caller sees it.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  raise(signal);
}

// Holds the cleanup signals back while in scope, so the pending path and the
// file on disk never disagree when a handler runs.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int s : kCleanupSignals) sigaddset(&held, s);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_;
};

void SetPending(const std::string& path) {
  if (path.size() >= sizeof gPendingPath) return;  // never longer than PATH_MAX in practice
  std::memcpy(gPendingPath, path.c_str(), path.size() + 1);
  gPending = 1;
}

void ClearPending() {
  gPending = 0;
}

// 12 letters and digits from the kernel's random source (or, failing that,
// from the clock and process id: the exclusive open still keeps it safe).
std::string RandomSuffix() {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char raw[12];
  if (getrandom(raw, sizeof raw, 0) != static_cast<ssize_t>(sizeof raw)) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t x = static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(now.tv_sec) << 30) ^
                 (static_cast<uint64_t>(getpid()) << 16);
    for (unsigned char& c : raw) {
      x = x * 6364136223846793005ULL + 1442695040888963407ULL;
      c = static_cast<unsigned char>(x >> 56);
    }
  }
  std::string suffix;
  for (unsigned char c : raw) suffix += kAlphabet[c % (sizeof kAlphabet - 1)];
  return suffix;
}

// ".NAME.XXXXXXXXXXXX.tmp" in target's folder, NAME cut so the whole stays
// within the 255 bytes a file name may have.
std::string TemporaryNameBeside(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.size() > 200) name.resize(200);
  return folder + "." + name + "." + RandomSuffix() + ".tmp";
}
}  // namespace

TemporaryFile::~TemporaryFile() {
  discard();
}

bool TemporaryFile::create(const std::string& target, std::string& why) {
  discard();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = TemporaryNameBeside(target);
    SignalsHeld held;
    const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      fd_ = fd;
      path_ = candidate;
      SetPending(path_);
      return true;
    }
    if (errno != EEXIST) {
      why = std::strerror(errno);
      return false;
    }
  }
  why = "no unused temporary file name was found";
  return false;
}

bool TemporaryFile::commit(const std::string& target, std::string& why) {
  const bool synced = fsync(fd_) == 0;
  int error = errno;
  const bool closed = close(fd_) == 0;
  if (synced && !closed) error = errno;
  fd_ = -1;
  if (!synced || !closed) {
    why = std::strerror(error);
    discard();
    return false;
  }
  SignalsHeld held;
  const bool renamed = rename(path_.c_str(), target.c_str()) == 0;
  if (!renamed) {
    why = std::strerror(errno);
    unlink(path_.c_str());
  }
  ClearPending();
  path_.clear();
  return renamed;
}

void TemporaryFile::discard() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
  if (!path_.empty()) {
    SignalsHeld held;
    unlink(path_.c_str());
    ClearPending();
    path_.clear();
  }
}

void InstallTemporaryFileCleanup() {
  for (int s : kCleanupSignals) {
    struct sigaction current {};
    if (sigaction(s, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    struct sigaction handler {};
    handler.sa_handler = RemovePendingAndRaise;
    sigemptyset(&handler.sa_mask);
    for (int other : kCleanupSignals) sigaddset(&handler.sa_mask, other);
    sigaction(s, &handler, nullptr);
  }
}
}  // namespace posewright
