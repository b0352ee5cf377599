#!/usr/bin/env python3
"""The dependency rule of src/, read from each file's own #include lines.

app uses dialogue, render and calendar; dialogue uses render and calendar;
render uses calendar; calendar uses nothing of the program. app and dialogue
reach the console only through the port headers directly in src/console/.
Nothing in src/console/ includes those four, and each platform folder uses
only the port and itself. Prints every breach and exits 1 if there is one.
"""
import pathlib
import re
import sys

BELOW = {'app': ['app', 'dialogue', 'render', 'calendar'],
         'dialogue': ['dialogue', 'render', 'calendar'],
         'render': ['render', 'calendar'],
         'calendar': ['calendar']}
PORT = re.compile(r'console/[^/]+\.hpp')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def allowed(folder, header):
    """Whether a file in folder (relative to src/) may include header."""
    layer = folder.split('/')[0]
    if layer in BELOW:
        return (header.split('/')[0] in BELOW[layer] or
                (layer in ('app', 'dialogue') and PORT.fullmatch(header) is not None))
    if folder == 'console':
        return PORT.fullmatch(header) is not None
    # A platform folder: the port and its own files.
    return PORT.fullmatch(header) is not None or header.startswith(folder + '/')


def main(root):
    breaches = []
    for path in sorted(pathlib.Path(root).rglob('*.[ch]pp')):
        folder = path.parent.relative_to(root).as_posix()
        for header in INCLUDE.findall(path.read_text(encoding='utf-8')):
            if not allowed(folder, header):
                breaches.append(f'{path}: includes "{header}"')
    print('\n'.join(breaches) or f'layers: every #include of {root} keeps to the rule')
    return 1 if breaches else 0


sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else 'src'))
