#include "cli/usage_text.h"

std::string usageText() {
    return "usage: vantrel-ripper-cli [--work DIR] [--jobs N] [-q] [--log] COMMAND ...\n"
           "commands: list, verify, diff, extract, pack, update, mpkg, fsb, textures; --help tells more\n";
}

std::string helpText() {
    return R"(usage: vantrel-ripper-cli [--work DIR] [--jobs N] [-q] [--log] COMMAND ...

The commands of the Vantrel Ripper window, without the window: for build scripts and tasks.

Commands:
  list ARCHIVE [--paths] [-0]
      Prints one list line per entry, as the window's file list shows them (with --paths,
      only each entry's path, "\" separated). Writes nothing. With -0 (--null) each line
      ends in a zero byte instead of LF and nothing is escaped, for scripts: list ARCHIVE
      --paths -0 | xargs -0 ...
  verify ARCHIVE
      Reads every entry, inflates every compressed one in full and compares each entry's
      copies; prints one line per problem (data outside the file, a stream that does not
      inflate or inflates to another size than the TOC's, a copy that differs from the
      first, a path that extraction would refuse or that lands on another entry's file, a
      STOC group whose first name, its file's path, is no entry's), then a summary. Writes nothing. Exit code 3 when it
      found a problem.
  diff A B [--paths]
      Prints what differs between archives A and B, one line each, in A's order, then
      B's: entries only in A or only in B, entries in both with other content (after
      inflation), other compression or other copies, and STOC groups removed, added or
      changed (with --paths, only each entry's path or group's first name). Writes nothing.
      Exit code 3 when they differ.
  extract ARCHIVE [PATTERN...] [--overwrite]
      Opens ARCHIVE as the window does (its library .toc and .stoc are written into
      WORK/Library when absent), selects the entries whose path matches any PATTERN (all
      entries when none is given) and extracts them into WORK/ExtractedFiles/<archive name>.
      Extracted files that were changed since are not replaced (an error names the first)
      unless --overwrite is given; nor is anything extracted into a folder that holds files
      the archive does not list, or with a library .toc that lacks its entries (signs of
      another archive of the same file name), unless --overwrite is given.
  pack FOLDER [--manual-stoc] [--force-compression]
      Packs FOLDER, a folder name in WORK/ExtractedFiles or a path to such a folder, into
      WORK/NewMPAKs/<folder name>, guided by its library files in WORK/Library.
      --manual-stoc         new files are not added to the STOC ("I will maintain the
                            Library .stoc"); by default they are
      --force-compression   compresses every file ("Force compression of all files")
      Without a library .stoc the caution is printed as a note and the pack goes on.
  update ARCHIVE [FOLDER] [--remove PATTERN]... [--manual-stoc]
      Writes WORK/NewMPAKs/<archive name>: ARCHIVE's entries in its order, each kept as it
      is stored, without a full repack, except that a file in FOLDER (by default
      WORK/ExtractedFiles/<archive name>) at an entry's path whose content differs replaces
      it, stored or compressed as the entry was, with its copies; entries that a --remove
      PATTERN matches are left out, and FOLDER's files that ARCHIVE lacks are added after
      its entries, compressed, each in a STOC group of its own (none with --manual-stoc).
      STOC groups are kept; one left naming no entry goes. A folder holding only some of
      the entries is fine. When nothing differs, nothing is written. Files that an earlier
      update found unchanged are not read again until something writes them
      (WORK/Library/<archive name>.update-cache). ARCHIVE is only read:
      when it lies in WORK/NewMPAKs itself, the new archive replaces it whole at the end.
  mpkg FILE       Unpacks an .mpkg file into WORK/Temp/mpkg.dat (Temp is emptied at the
                  next start).
  fsb FILE        Converts an .fsb sound bank into sound files in WORK/Sounds.
  textures FILE   Lists the texture names an .mmod model refers to.

Options:
  --work DIR      The folder that holds the work folders ExtractedFiles, Temp, NewMPAKs,
                  Library and Sounds; created when missing. By default the one the window
                  uses: the program's own folder when it can be written (a portable copy),
                  otherwise VantrelRipper in the user's data folder ($XDG_DATA_HOME or
                  ~/.local/share; %LOCALAPPDATA% on Windows). Helper programs always come
                  from the program's own folder.
  --jobs N        How many helper runs go side by side (default: one per processor core).
  -q, --quiet     Quiet: no status line, no notes and no log; errors are still printed.
  --log           The log on standard output even with -q.
  -h, --help      This text.
  --version       The program's version.
  --              Ends the options: what follows is a command or an operand.

PATTERN: "*" matches any run of characters, separators included, and "?" one character;
ASCII letters match in either case, and "/" and "\" both match a separator; ";" separates
several patterns in one PATTERN, as in the window's field. Quote patterns for the shell:
'textures/*.dds;*.fsb'. A pattern that matches no entry is an error.

Output: standard output gets each command's log, the text the window's log view shows when
the command ends (extract prints the open's log, then the extraction's), lines ending in LF.
On a terminal, control characters in names, in the log as in list, are shown escaped: "\t",
"\n", "\r", others (ESC, C1 controls, bytes that are not UTF-8) as "\xHH"; "\" is not.
Standard error gets notices as "note: ..." and errors as "error: ...", one line each, and,
when it is a terminal and -q is not given, one status line rewritten in place. A command that
wrote files ends with "note: Results in FOLDER". A failure always ends with an "error: " line
and exit code 1.

Only one copy of the program, window or command line, uses a work folder at a time.

Exit codes:
  0   done
  1   the command failed; its error was printed
  2   bad usage
  3   done, but some entries were refused, skipped or failed ("Refused unsafe path",
      "Data past the end of the archive", "Unzip failed", "Name too long for Temp" in the log)
  4   another copy of the program is using the work folder
)";
}

std::string versionText() { return std::string("vantrel-ripper-cli ") + VR_VERSION + "\n"; }
