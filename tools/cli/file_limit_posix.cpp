#include <sys/resource.h>

#include "file_limit.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {

bool FitOpenFiles(std::size_t boards, std::string* why) {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return true;
  // The soft limit (1,024 by default) may go up to the hard one without privilege.
  if (files.rlim_cur != files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &files) != 0) getrlimit(RLIMIT_NOFILE, &files);
  }
  const std::size_t needed = boards * kFilesPerBoard + kFilesBesides;
  if (files.rlim_cur == RLIM_INFINITY || needed <= files.rlim_cur) return true;
  *why = Format(Tr("{1} boards need {2} open files, but this process may open {3} (ulimit -n; "
                   "the hard limit is the system's to raise)"),
                {std::to_string(boards), std::to_string(needed), std::to_string(files.rlim_cur)});
  return false;
}

}  // namespace qrv
