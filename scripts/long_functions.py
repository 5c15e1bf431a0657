#!/usr/bin/env python3
"""Lists the C++ functions longer than LIMIT lines, longest first.

    scripts/long_functions.py LIMIT FILE...
    scripts/long_functions.py 60 $(git ls-files 'src/*.cpp' 'src/*.h')

A function counts from the first line of its signature to its closing
brace; lambdas and local classes count with the function that holds them.
It reads the text only (comments, strings and preprocessor lines blanked,
braces balanced), so it expects clang-formatted sources.
"""
import re, sys

def strip(src):
    out, i, n = [], 0, len(src)
    while i < n:
        c = src[i]
        if src.startswith('//', i):
            j = src.find('\n', i)
            j = n if j < 0 else j
            i = j
            continue
        if src.startswith('/*', i):
            j = src.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', src[i:j]))
            i = j
            continue
        m = re.match(r'R"([^(]*)\(', src[i:i+20]) if c == 'R' and (i == 0 or not (src[i-1].isalnum() or src[i-1]=='_')) else None
        if m:
            end = ')' + m.group(1) + '"'
            j = src.find(end, i + m.end())
            j = n if j < 0 else j + len(end)
            out.append(re.sub(r'[^\n]', ' ', src[i:j]))
            i = j
            continue
        if c in '"\'':
            if c == "'" and i > 0 and src[i-1].isalnum():  # digit separator
                out.append(c); i += 1; continue
            j = i + 1
            while j < n and src[j] != c:
                j += 2 if src[j] == '\\' else 1
            out.append(c + ' ' * (j - i - 1) + c)
            i = j + 1
            continue
        out.append(c)
        i += 1
    s = ''.join(out)
    return re.sub(r'(?m)^[ \t]*#.*$', lambda m: ' ' * len(m.group(0)), s)

CONTROL = re.compile(r'^(if|for|while|switch|catch|do|else|try)\b')
SCOPE = re.compile(r'^(template\s*<.*>\s*)?(namespace|class|struct|union|enum|extern)\b')

def functions(path):
    src = strip(open(path, encoding='utf-8', errors='replace').read())
    stack = []  # (kind, name, startline)
    header_start = 0
    res = []
    line = 1
    for i, c in enumerate(src):
        if c == '\n':
            line += 1
        if c in ';{}':
            if c == '{':
                header = src[header_start:i].strip()
                outer = stack[-1][0] if stack else 'scope'
                hs = header_start + (len(src[header_start:i]) - len(src[header_start:i].lstrip()))
                hline = src.count('\n', 0, hs) + 1
                if outer != 'scope':
                    kind = 'inner'
                elif re.search(r'\)\s*(noexcept\s*)?:[^:].*[\w>]\s*$', header, re.S):
                    # A member's brace initialiser within a constructor's list.
                    stack.append(('init', '', hline))
                    continue
                elif SCOPE.match(header):
                    kind = 'scope'
                elif '(' in header and not CONTROL.match(header) and (
                        'operator' in header or '=' not in header.split('(')[0]):
                    kind = 'func'
                else:
                    kind = 'inner'
                name = re.sub(r'\s+', ' ', header.split('(')[0]).split(' ')[-1] if kind == 'func' else ''
                stack.append((kind, name, hline))
            elif c == '}':
                if stack:
                    kind, name, start = stack.pop()
                    if kind == 'func':
                        res.append((line - start + 1, name, start))
                    if kind == 'init':
                        continue
            header_start = i + 1
        elif c == ':' and stack and stack[-1][0] == 'scope' and re.search(r'\b(public|private|protected|signals|slots)\s*$', src[header_start:i]):
            header_start = i + 1
    return res

limit = int(sys.argv[1])
allf = []
for p in sys.argv[2:]:
    for n, name, start in functions(p):
        allf.append((n, f'{p}:{start}', name))
allf.sort(reverse=True)
for n, loc, name in allf:
    if n > limit:
        print(f'{n:4d} {loc} {name}')
