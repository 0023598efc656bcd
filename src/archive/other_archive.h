// Archives of one file name kept apart. Extraction puts an archive's files into
// ExtractedFiles\<file name>, and its library .toc is Library\<file name>.toc, written once; so a
// second archive of the same name (a base archive and its patch, one before and after a game
// update) would mix its files with the first's and be packed with the first's library. Two signs
// tell that a folder or a library belongs to another archive: files in the extraction folder that
// the open archive does not list, and entries of the open archive that the library .toc does not
// list. Paths compare as the packer compares them: ASCII letter case ignored.
#pragma once

#include <filesystem>
#include <string>

struct Form;

struct NotListed {
    int count = 0;
    std::string first;  // the first one, as an archive path
};

// Entries of the open archive that Library\<archive name>.toc does not list, when the .toc also
// lists paths the archive lacks; none otherwise (the .toc of this archive, of a repack of it with
// files added, or of one with files left out) and when there is no such file or it cannot be read.
NotListed entriesTheLibraryTocLacks(const Form& form, const std::string& archiveName);

// Files below `archiveFolder` that the open archive does not list, in name order.
NotListed filesTheArchiveLacks(const Form& form, const std::filesystem::path& archiveFolder);

// The open's log line when the library .toc lacks some of the archive's entries.
std::string libraryTocLacksLine(const std::string& archiveName, const NotListed& entries);

// The question extraction asks before writing into a folder or with a library that another
// archive of this name may own; empty when neither sign is there.
std::string otherArchiveQuestion(const std::string& archiveName, const NotListed& foreignFiles,
                                 const NotListed& unlistedEntries);
