#pragma once

#include <archive.h>
#include <archive_entry.h>

// libarchive, loaded when a package is first unpacked or written, not with the
// program: linked, it and its compression libraries cost every start.
struct TQVL_ArchiveLibrary
{
    // The library with every function below bound; nullptr when it or one of
    // them is missing.
    static const TQVL_ArchiveLibrary* Get();

    decltype(&::archive_error_string) archive_error_string = nullptr;

    decltype(&::archive_entry_filetype) archive_entry_filetype = nullptr;
    decltype(&::archive_entry_hardlink) archive_entry_hardlink = nullptr;
    decltype(&::archive_entry_pathname) archive_entry_pathname = nullptr;
    decltype(&::archive_entry_pathname_utf8) archive_entry_pathname_utf8 = nullptr;
    decltype(&::archive_entry_perm) archive_entry_perm = nullptr;
    decltype(&::archive_entry_symlink) archive_entry_symlink = nullptr;
    decltype(&::archive_read_data) archive_read_data = nullptr;
    decltype(&::archive_read_free) archive_read_free = nullptr;
    decltype(&::archive_read_new) archive_read_new = nullptr;
    decltype(&::archive_read_next_header) archive_read_next_header = nullptr;
    decltype(&::archive_read_open_filename) archive_read_open_filename = nullptr;
    decltype(&::archive_read_support_filter_xz) archive_read_support_filter_xz = nullptr;
    decltype(&::archive_read_support_format_tar) archive_read_support_format_tar = nullptr;

    decltype(&::archive_write_new) archive_write_new = nullptr;
    decltype(&::archive_write_set_format_zip) archive_write_set_format_zip = nullptr;
    decltype(&::archive_write_open) archive_write_open = nullptr;
    decltype(&::archive_write_header) archive_write_header = nullptr;
    decltype(&::archive_write_data) archive_write_data = nullptr;
    decltype(&::archive_write_close) archive_write_close = nullptr;
    decltype(&::archive_write_free) archive_write_free = nullptr;
    decltype(&::archive_entry_new) archive_entry_new = nullptr;
    decltype(&::archive_entry_free) archive_entry_free = nullptr;
    decltype(&::archive_entry_set_pathname) archive_entry_set_pathname = nullptr;
    decltype(&::archive_entry_set_size) archive_entry_set_size = nullptr;
    decltype(&::archive_entry_set_filetype) archive_entry_set_filetype = nullptr;
    decltype(&::archive_entry_set_perm) archive_entry_set_perm = nullptr;
};
