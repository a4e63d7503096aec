# cmake -DROOT=<source dir> [-DDIRS="launcher;modules;plugins"] -P CheckSeam.cmake
# The platform seam holds by construction: program code (launcher/, modules/, plugins/) reaches
# the machine only through core/, platform/ and shared/, whose routines keep the file rules
# (safe writers, regular-file readers, byte-exact file addresses, argument-vector starts).
# Fails, naming file and line, where a program's own source does it by hand.
#
# Checked: every .h and .cpp below those folders except tests/ and fuzz/, which plant the
# faults the rules guard against (links, pipes, read-only folders) and never ship; they still
# keep the layers (CheckLayers.cmake). Whole-line comments are skipped.
# docs/architecture.md lists these rules; keep the two in step.

cmake_minimum_required(VERSION 3.25)

if(NOT DIRS)
  set(DIRS launcher modules plugins)
endif()

# Each rule: a name, a regular expression matched against one line, and one that lets a line
# the first matched pass again ("" for none). "before" stands for what
# may not come before a free function's name (a letter, digit, "_", ":", "." or ">"), so
# member calls (w->open(), s.remove()) and qualified names (QLocale::system) pass.
set(before "(^|[^A-Za-z0-9_:.>])(::|std::)?")
set(rules
  "direct file access (QFile, QSaveFile, QDir, QFileInfo, QTemporaryFile/Dir, QLockFile, QDirIterator, QFileSystemWatcher/Model)"
  "(^|[^A-Za-z0-9_])(QFile|QSaveFile|QDir|QFileInfo|QTemporaryFile|QTemporaryDir|QLockFile|QDirIterator|QFileSystemWatcher|QFileSystemModel)([^A-Za-z0-9_]|$)"
  ""
  "C++ or C streams on files (fstream, ifstream, ofstream, FILE*, fopen)"
  "(std::)?(fstream|ifstream|ofstream|filebuf)([^A-Za-z0-9_]|$)|(^|[^A-Za-z0-9_])(FILE[ \t]*\\*|fopen|freopen|fdopen)"
  ""
  "std::filesystem"
  "std::filesystem|<filesystem>"
  ""
  "POSIX file calls (open, creat, rename, unlink, remove, mkdir, rmdir, link, symlink, chmod, chown, truncate, mkfifo, mkstemp, utime, opendir)"
  "${before}(open|openat|creat|rename|renameat|renameat2|unlink|unlinkat|remove|mkdir|mkdirat|rmdir|link|linkat|symlink|symlinkat|chmod|fchmod|fchmodat|chown|fchown|fchownat|lchown|truncate|ftruncate|mkfifo|mkfifoat|mknod|mknodat|tmpfile|tmpnam|tempnam|mkstemp|mkstemps|mkostemp|mkdtemp|utime|utimes|utimensat|futimens|opendir|fdopendir|scandir)[ \t]*\\("
  ""
  "POSIX and C headers for the machine (unistd.h, fcntl.h, dirent.h, sys/...)"
  "#[ \t]*include[ \t]*<(unistd\\.h|fcntl\\.h|dirent\\.h|sys/[a-z]+\\.h|stdio\\.h|spawn\\.h)>"
  ""
  "process starts past the platform (QProcess, system, popen, fork, exec)"
  "(^|[^A-Za-z0-9_])QProcess([^A-Za-z0-9_]|$)|${before}(system|popen|fork|vfork|execl|execlp|execle|execv|execvp|execve|posix_spawn|posix_spawnp)[ \t]*\\("
  ""
  "QDesktopServices (the platform's shellOpen opens addresses)"
  "QDesktopServices"
  ""
  "QSettings (the platform's settings store)"
  "QSettings"
  ""
  "a file address built by hand (core's localFileUrl makes it)"
  "\"[Ff][Ii][Ll][Ee]:|QUrl::fromLocalFile|fromUserInput|setScheme[ \t]*\\([^)]*[Ff][Ii][Ll][Ee]"
  ""
  "a page handed to a viewer or browser engine (only at the reviewed sites below)"
  "(setSource|setSearchPaths|->load|\\.load|setUrl)[ \t]*\\("
  ""
  "a picture read or written by name past shared/Ui.h's loadPicture (a program's own resources \":/...\" pass)"
  "(^|[^A-Za-z0-9_])(QPixmap|QImage|QIcon|QBitmap)([ \t]+[A-Za-z_][A-Za-z0-9_]*)?[ \t]*\\([ \t]*[^) \t]|(^|[^A-Za-z0-9_])(QImageReader|QImageWriter|QMovie|QPicture)([^A-Za-z0-9_]|$)|(\\.|->)save[ \t]*\\([ \t]*[^) \t]"
  "\":/"
)

# Reviewed sites where a page goes to a viewer: "<file>|<the exact line, blanks trimmed>".
# Each passes the regular-file rule (core's requireRegularFile or fileExists) just before, or
# reads a resource built into the program.
set(reviewed
  # The tray icon's picture: TrayIconPath is ":/docklet/docklet.xpm", a resource of the module.
  "modules/docklet/Form1.cpp|Image1->setPixmap(QPixmap(QString::fromStdString(TrayIconPath)).scaled(32, 32))@S@"
  # The about window shows a local page after fileExists, by the address localFileUrl makes.
  "launcher/Form6.cpp|WebBrowser1->setSource(url)@S@"
  "modules/talkgate/frmBrowser.cpp|void frmBrowser::navigate(const QUrl& address) { WebBrowse->load(address)@S@ }"
)

set(files "")
foreach(d IN LISTS DIRS)
  file(GLOB_RECURSE found "${ROOT}/${d}/*.h" "${ROOT}/${d}/*.cpp")
  list(APPEND files ${found})
endforeach()
list(SORT files)

set(bad "")
set(count 0)
list(LENGTH rules nrules)
math(EXPR last "${nrules} - 1")
foreach(f IN LISTS files)
  file(RELATIVE_PATH rel "${ROOT}" "${f}")
  if(rel MATCHES "(^|/)(tests|fuzz)/")
    continue()
  endif()
  file(READ "${f}" content)
  # A program starts through runProgram (shared/Program.h), whose set-up every program needs
  # before anything can write (SIGXFSZ ignored, so a write past a file-size limit fails on its
  # normal path instead of killing the program).
  if(rel MATCHES "(^|/)main\\.cpp$" AND content MATCHES "int[ \t]+main[ \t]*\\(" AND NOT content MATCHES "runProgram[ \t]*\\(")
    string(APPEND bad "  ${rel}: a program's main that does not start through kx::runProgram (shared/Program.h)\n")
    math(EXPR count "${count} + 1")
  endif()
  # A list of lines: the characters CMake's lists treat specially are kept as marks.
  string(REPLACE "\\" "@B@" content "${content}")
  string(REPLACE ";" "@S@" content "${content}")
  string(REPLACE "[" "@L@" content "${content}")
  string(REPLACE "]" "@R@" content "${content}")
  # A quick look first: most files hold nothing a rule names.
  set(any FALSE)
  foreach(i RANGE 1 ${last} 3)
    list(GET rules ${i} re)
    if(content MATCHES "${re}")
      set(any TRUE)
      break()
    endif()
  endforeach()
  if(NOT any)
    continue()
  endif()
  string(REPLACE "\n" ";" lines "${content}")
  set(n 0)
  foreach(line IN LISTS lines)
    math(EXPR n "${n} + 1")
    if(line MATCHES "^[ \t]*(//|/\\*|\\*)")
      continue()
    endif()
    string(STRIP "${line}" trimmed)
    if("${rel}|${trimmed}" IN_LIST reviewed)
      continue()
    endif()
    foreach(i RANGE 0 ${last} 3)
      math(EXPR j "${i} + 1")
      math(EXPR k "${i} + 2")
      list(GET rules ${j} re)
      list(GET rules ${k} pass)
      if(line MATCHES "${re}" AND (pass STREQUAL "" OR NOT line MATCHES "${pass}"))
        list(GET rules ${i} why)
        set(shown "${trimmed}")
        string(REPLACE "@B@" "\\" shown "${shown}")
        string(REPLACE "@S@" ";" shown "${shown}")
        string(REPLACE "@L@" "[" shown "${shown}")
        string(REPLACE "@R@" "]" shown "${shown}")
        string(APPEND bad "  ${rel}:${n}: ${why}\n      ${shown}\n")
        math(EXPR count "${count} + 1")
        break()
      endif()
    endforeach()
  endforeach()
endforeach()

if(bad)
  message(FATAL_ERROR "Program code reaches the machine past core/, platform/ and shared/ "
                      "(${count} lines; use the shared routines, see docs/architecture.md):\n${bad}")
endif()
message(STATUS "seam: launcher/, modules/ and plugins/ reach the machine through core, platform and shared only")
