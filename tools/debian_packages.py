"""Debian packages whose files the data scripts read: fetched with apt-get
download into tools/.cache/debian/ (git-ignored) and unpacked there, once;
nothing of them is committed."""
import glob
import os
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE = os.path.join(ROOT, 'tools', '.cache', 'debian')


def unpacked(package, path):
    """The path (relative to the package's root) inside the unpacked package,
    fetched and unpacked first when missing."""
    folder = os.path.join(CACHE, package)
    target = os.path.join(folder, path)
    if os.path.exists(target):
        return target
    os.makedirs(CACHE, exist_ok=True)
    subprocess.run(['apt-get', 'download', package], cwd=CACHE, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deb = sorted(glob.glob(os.path.join(CACHE, package + '_*.deb')))[-1]
    subprocess.run(['dpkg-deb', '-x', deb, folder], check=True)
    return target
