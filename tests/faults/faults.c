/* Fault injection for the file layer. It wraps the system calls that the
 * program's file code makes and fails them on demand, the way a dying disk,
 * a full disk or a file deleted at the wrong moment would. Linked into a
 * test program it takes the place of the C library's functions for the
 * whole process; built as a shared library it is put under a program with
 * LD_PRELOAD.
 *
 * Nothing fails unless FAULT_PATH is set, and then only calls on files
 * whose path contains its text. The environment is read at every call, so a
 * test may change it between operations:
 *   FAULT_PATH               the text that names the affected files
 *   FAULT_ERRNO              the error given (a number; EIO when unset)
 *   FAULT_READ_AFTER_BYTES   reads fail once that many bytes were read
 *   FAULT_WRITE_AFTER_BYTES  writes fail once that many bytes were written
 *   FAULT_FSYNC              fsync fails
 *   FAULT_CLOSE              close fails (the descriptor is gone all the
 *                            same, as with the kernel's own close errors)
 *   FAULT_RENAME             rename from or onto such a path fails
 *   FAULT_OPEN               open fails
 *   FAULT_VANISH_ON_OPEN     the file is deleted just before it is opened
 *   FAULT_CHANGE_AFTER_BYTES once that many bytes were read, the file being
 *                            read is changed, once, as FAULT_CHANGE says:
 *                            "grow" appends a line, "shrink" cuts it to one
 *                            byte, "replace" renames another file over it
 * A read or write that would cross its limit is cut short at the limit;
 * the next one fails. faults_reset() sets the byte counts back to zero. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static unsigned long long g_read;
static unsigned long long g_written;
static int g_changed;

void faults_reset(void) {
  g_read = 0;
  g_written = 0;
  g_changed = 0;
}

/* The next definition of a function: the C library's, or a sanitizer's
 * that in turn calls the C library's. */
static void* real(const char* name) {
  void* f = dlsym(RTLD_NEXT, name);
  if (!f) {
    fprintf(stderr, "faults: no %s to wrap\n", name);
    abort();
  }
  return f;
}

/* ISO C has no cast from an object pointer to a function pointer. */
#define NEXT(var, name)            \
  if (!var) {                      \
    void* f_ = real(name);         \
    memcpy(&var, &f_, sizeof var); \
  }

static const char* target(void) {
  const char* p = getenv("FAULT_PATH");
  return p && *p ? p : NULL;
}

static int path_matches(const char* path) {
  const char* t = target();
  return t && path && strstr(path, t) != NULL;
}

static int fd_matches(int fd) {
  if (!target() || fd < 0) return 0;
  char link[64], path[4096 + 64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, path, sizeof path - 1);
  if (n < 0) return 0;
  path[n] = '\0';
  return path_matches(path);
}

static int flag(const char* name) {
  const char* v = getenv(name);
  return v && *v && strcmp(v, "0") != 0;
}

/* -1 when the limit is not set. */
static long long limit(const char* name) {
  const char* v = getenv(name);
  return v && *v ? atoll(v) : -1;
}

static int fail(void) {
  const char* v = getenv("FAULT_ERRNO");
  errno = v && *v ? atoi(v) : EIO;
  return -1;
}

/* How many of n bytes may pass a limit already `done` into; 0 means fail. */
static size_t allowance(long long lim, unsigned long long done, size_t n) {
  if (lim < 0) return n;
  if (done >= (unsigned long long)lim) return 0;
  const unsigned long long left = (unsigned long long)lim - done;
  return n < left ? n : (size_t)left;
}

/* Changes the file open as fd behind the reader's back. */
static void change_file(int fd) {
  char link[64], path[4096 + 64], other[4096 + 128];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, path, sizeof path - 1);
  if (n < 0) return;
  path[n] = '\0';
  const char* how = getenv("FAULT_CHANGE");
  g_changed = 1;
  if (how && strcmp(how, "shrink") == 0) {
    if (truncate(path, 1) != 0) abort();
  } else if (how && strcmp(how, "replace") == 0) {
    snprintf(other, sizeof other, "%s.other", path);
    const int f = open(other, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (f < 0 || write(f, "other\r\n", 7) != 7 || close(f) != 0 || rename(other, path) != 0)
      abort();
  } else {
    const int f = open(path, O_WRONLY | O_APPEND);
    if (f < 0 || write(f, "grown\x01\r\n", 8) != 8 || close(f) != 0) abort();
  }
}

ssize_t read(int fd, void* buf, size_t n) {
  static ssize_t (*next)(int, void*, size_t);
  NEXT(next, "read")
  if (n > 0 && fd_matches(fd)) {
    const size_t ok = allowance(limit("FAULT_READ_AFTER_BYTES"), g_read, n);
    if (ok == 0) return fail();
    const ssize_t got = next(fd, buf, ok);
    if (got > 0) g_read += (unsigned long long)got;
    const long long change = limit("FAULT_CHANGE_AFTER_BYTES");
    if (got > 0 && change >= 0 && !g_changed && g_read >= (unsigned long long)change)
      change_file(fd);
    return got;
  }
  return next(fd, buf, n);
}

ssize_t write(int fd, const void* buf, size_t n) {
  static ssize_t (*next)(int, const void*, size_t);
  NEXT(next, "write")
  if (n > 0 && fd_matches(fd)) {
    const size_t ok = allowance(limit("FAULT_WRITE_AFTER_BYTES"), g_written, n);
    if (ok == 0) return fail();
    const ssize_t put = next(fd, buf, ok);
    if (put > 0) g_written += (unsigned long long)put;
    return put;
  }
  return next(fd, buf, n);
}

int fsync(int fd) {
  static int (*next)(int);
  NEXT(next, "fsync")
  if (flag("FAULT_FSYNC") && fd_matches(fd)) return fail();
  return next(fd);
}

int close(int fd) {
  static int (*next)(int);
  NEXT(next, "close")
  const int hit = flag("FAULT_CLOSE") && fd_matches(fd);
  const int r = next(fd);
  return hit ? fail() : r;
}

int rename(const char* from, const char* to) {
  static int (*next)(const char*, const char*);
  NEXT(next, "rename")
  if (flag("FAULT_RENAME") && (path_matches(from) || path_matches(to))) return fail();
  return next(from, to);
}

static int before_open(const char* path) {
  if (!path_matches(path)) return 0;
  if (flag("FAULT_VANISH_ON_OPEN")) unlink(path);
  return flag("FAULT_OPEN");
}

#define WRAP_OPEN(name)                        \
  int name(const char* path, int flags, ...) { \
    static int (*next)(const char*, int, ...); \
    NEXT(next, #name)                          \
    mode_t mode = 0;                           \
    if (flags & (O_CREAT | __O_TMPFILE)) {     \
      va_list ap;                              \
      va_start(ap, flags);                     \
      mode = va_arg(ap, mode_t);               \
      va_end(ap);                              \
    }                                          \
    if (before_open(path)) return fail();      \
    return next(path, flags, mode);            \
  }

#define WRAP_OPENAT(name)                               \
  int name(int dir, const char* path, int flags, ...) { \
    static int (*next)(int, const char*, int, ...);     \
    NEXT(next, #name)                                   \
    mode_t mode = 0;                                    \
    if (flags & (O_CREAT | __O_TMPFILE)) {              \
      va_list ap;                                       \
      va_start(ap, flags);                              \
      mode = va_arg(ap, mode_t);                        \
      va_end(ap);                                       \
    }                                                   \
    if (before_open(path)) return fail();               \
    return next(dir, path, flags, mode);                \
  }

WRAP_OPEN(open)
WRAP_OPEN(open64)
WRAP_OPENAT(openat)
WRAP_OPENAT(openat64)
