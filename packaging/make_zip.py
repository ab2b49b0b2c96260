#!/usr/bin/env python3
"""Zip the files of a folder the same way every time: names in order, each
dated SOURCE_DATE_EPOCH, mode 755 or 644, no owner.  The bytes then depend
neither on the order the file system lists the files in nor on who builds.

Usage: make_zip.py FOLDER ZIP
"""
import os
import sys
import time
import zipfile


def main():
    folder, out = sys.argv[1:]
    date = time.gmtime(int(os.environ['SOURCE_DATE_EPOCH']))[:6]
    with zipfile.ZipFile(out, 'w') as archive:
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            entry = zipfile.ZipInfo(name, date)
            entry.create_system = 3  # Unix, so that unzip keeps the modes below
            entry.external_attr = (0o100755 if os.access(path, os.X_OK) else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, 'rb') as f:
                archive.writestr(entry, f.read(), compresslevel=9)


if __name__ == '__main__':
    main()
