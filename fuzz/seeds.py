#!/usr/bin/env python3
"""Writes the fuzz corpus seeds into the directory given: the project's scenes, and every string literal
of the tests that holds a command of the language."""
import codecs
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
out = pathlib.Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
commands = re.compile(r'\b(createNode|connectAttr|setAttr|getAttr|addAttr|particle|curve|connectDynamic|'
                      r'playFrames|particleStats|writeParticles|shadingNode|sets|loadPlugin|currentTime|'
                      r'playblast|poly\w+|nurbsPlane|lattice|deformer|emit|ls|print|proc|while|for|if|eval|'
                      r'source|catch|int|float|string|vector)[\s(]')
literal = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
count = 0
for scene in sorted(root.glob('scenes/*.mel')) + sorted(root.glob('fuzz/regressions/*')):
    (out / f'seed{count:05d}').write_bytes(scene.read_bytes())
    count += 1
for source in sorted(root.glob('tests/**/*.cpp')) + sorted(root.glob('tests/**/*.h')):
    text = source.read_text(errors='replace')
    # Adjacent literals ("a" "b") are one string to the compiler.
    joined = re.sub(r'"\s*\n\s*"', '', text)
    for match in literal.finditer(joined):
        body = match.group(1)
        if not commands.search(body):
            continue
        try:
            snippet = codecs.decode(body, 'unicode_escape')
        except UnicodeDecodeError:
            continue
        (out / f'seed{count:05d}').write_text(snippet)
        count += 1
print(f'{count} seeds')
