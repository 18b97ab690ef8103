// SPDX-License-Identifier: GPL-3.0-or-later
// Output placement: every file the engine produces appears beside its source
// under a name that was free at the moment of writing. No existing file is ever
// replaced, and nothing partly written ever appears under a real name, even when
// several processes write into one folder at once: a name check only proposes a
// candidate, an exclusive create or rename decides.
//
// Thread safety: every function may be called from any thread; a BatchFolder
// belongs to one thread at a time.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/handles.h"
#include "whirlpane/bytes.h"

namespace MediaEngine {

// The first free name of the form <folder of source>/<base><suffix>.<ext>, then
// "<base><suffix> 2.<ext>", " 3", ...; base is the source's file name without its
// last extension, shortened at a character boundary where the whole name would
// otherwise be longer than the folder's file system allows. "/" in the suffix
// becomes "-"; dots around the extension and "/" and NUL inside either are
// dropped. A name taken by anything, a dangling symbolic link included, is
// skipped. Only a hint: see publish().
std::filesystem::path uniqueSibling(const std::filesystem::path& source, std::string_view suffix,
                                    std::string_view ext);

// The permission bits of every file made from `source`: the read and write
// bits the source has, so that no output is open to anyone the source is not;
// the umask narrows them further when the file is created. A source that is
// gone (an editor saving the picture it showed) gives read and write for the
// owner alone. Throws FileError when the source cannot be examined.
mode_t outputPermissions(const std::filesystem::path& source);

// Writes `bytes` to `destination`, which must not exist, as a file with
// `permissions` less the umask: the bytes go to a hidden temporary file in the
// same folder, are flushed to disk, then renamed onto the destination
// exclusively. Throws Failure::exists when the name is taken, a FileError for
// any other problem; the temporary file never outlives the call.
void publish(const Bytes& bytes, const std::filesystem::path& destination, mode_t permissions);

// publish() for a file `write` writes into the hidden file open as `fd` (an
// error names `path`, the destination) as it makes it, instead of bytes made
// first.
void publishWritten(const std::function<void(int fd, const std::filesystem::path& path)>& write,
                    const std::filesystem::path& destination, mode_t permissions);

// Calls uniqueSibling() and publish() until a name sticks, up to 100 times,
// with the permissions outputPermissions() gives for `source`; throws
// Failure::encoding "Too many simultaneous writes to this folder." when every
// attempt found its name taken. Returns the published location.
std::filesystem::path publishBeside(const std::filesystem::path& source, std::string_view suffix,
                                    std::string_view ext, const Bytes& bytes);

// A new private (0700) folder "Whirlpane-<UUID>" in the system's temporary
// folder. The caller removes it with WorkingFiles::remove() when done.
std::filesystem::path temporaryDirectory();

// A random (version 4) UUID in upper-case 8-4-4-4-12 form.
std::string newUUID();

// One conversion's staging area: a hidden folder ".whirlpane-batch-<UUID>"
// in the folder the outputs go to, beside the source unless another is given. Outputs are staged
// (written and flushed) one by one, then published in order by exclusive renames to unique sibling
// names, with the permissions outputPermissions() gives for the source. Whatever is still inside
// when the object goes away is removed with the folder.
class BatchFolder {
 public:
  // Creates the folder in `outputFolder` (the source's own folder when
  // empty); `ext` is the extension of every output. Throws FileError when the
  // source cannot be examined or the folder cannot be created.
  BatchFolder(const std::filesystem::path& source, std::string ext,
              const std::filesystem::path& outputFolder = {});
  // For a conversion that makes exactly one output: no folder, only one hidden
  // file ".whirlpane-<UUID>.tmp" in the folder the output goes to, created
  // now, into which the one stage() or stageWritten() writes. A folder made
  // and removed for each file costs a small picture more than its encoding
  // does.
  static BatchFolder forOneOutput(const std::filesystem::path& source, std::string ext,
                                  const std::filesystem::path& outputFolder = {});
  ~BatchFolder();
  BatchFolder(const BatchFolder&) = delete;
  BatchFolder& operator=(const BatchFolder&) = delete;

  // Writes one output; it will be published with `suffix` before its extension.
  void stage(const Bytes& bytes, std::string suffix);
  // Has `write` write one output straight into its staged file, given as an
  // open, empty descriptor and its path, then flushes it to the disk; it will
  // be published with `suffix`. What `write` throws ends the staging, and the
  // file goes with the folder.
  void stageWritten(const std::function<void(int fd, const std::filesystem::path& path)>& write,
                    std::string suffix);

  size_t stagedCount() const { return staged_.size(); }
  const std::filesystem::path& path() const { return folder_; }

  // Publishes every staged output in staging order and returns where each went.
  // On failure, outputs already published stay and the Failure::encoding message
  // names or counts them; when none was, a FileError tells why.
  std::vector<std::filesystem::path> publish();

 private:
  std::filesystem::path namedAs_;  // the source's name in the folder the outputs go to
  std::string ext_;
  mode_t permissions_;
  std::filesystem::path folder_;  // or, for one output, its hidden file
  UniqueFd oneOutput_;            // that file, until it is written
  bool single_ = false;
  std::vector<std::pair<std::filesystem::path, std::string>> staged_;

  struct OneOutput {};
  BatchFolder(const std::filesystem::path& source, std::string ext,
              const std::filesystem::path& outputFolder, OneOutput);
  // The descriptor and path of the next staged file, created for it.
  std::pair<UniqueFd, std::filesystem::path> nextFile();
};

namespace detail {
// The exclusive rename: renameat2(RENAME_NOREPLACE), or where the file system
// refuses that flag, link() then unlink(). Returns 0 or the errno value; EEXIST
// means the destination is taken and nothing moved.
int renameExclusive(const std::filesystem::path& from, const std::filesystem::path& to);
int linkThenUnlink(const std::filesystem::path& from, const std::filesystem::path& to);
}  // namespace detail

}  // namespace MediaEngine
