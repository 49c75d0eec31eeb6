#pragma once
// A private temporary file for libraries that only take file names (such as
// libgettextpo): it is removed from its folder as soon as it is made and reached
// through its /dev/fd name, so nothing is left behind whatever happens.

#include <string>
#include <string_view>

namespace qm {

class ScratchFile {
  public:
    /// Makes an empty file (mkstemp) in the temporary folder ($TMPDIR, or /tmp)
    /// and removes its name. Throws FileError, naming the folder, when it cannot.
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    /// «/dev/fd/N»: opening it opens this file anew, at its start.
    std::string path() const;
    /// Empties the file. Throws FileError.
    void clear();
    /// Appends bytes. Throws FileError.
    void write(std::string_view bytes);
    /// The whole contents, whatever has written them. Throws FileError.
    std::string readAll() const;

  private:
    int fd_ = -1;
};

}  // namespace qm
