"""A small reader of this project's C++ sources for the source checks (check-layers,
check-function-length): it sees through comments and literals and follows the braces, which is
enough for code laid out as ours is. It is no compiler: macros and odd layouts are not its
business."""
import re

_SCOPE = re.compile(r'(template\s*<.*>\s*)?(namespace\b|extern\s*"\s*"|(class|struct|union)\s)')
_TYPE = re.compile(r'(template\s*<.*>\s*)?(class|struct|union|enum)\b')


def strip(text):
    """The text with comments, strings and character literals blanked out; lines keep their
    places."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            delimiter = re.match(r'R"([^(]*)\(', text[i:]).group(1)
            j = text.find(')' + delimiter + '"', i) + len(delimiter) + 2
        elif c in '"\'' and not (c == "'" and 0 < i < n - 1 and text[i - 1].isdigit() and text[i + 1].isdigit()):
            # (1'000 is a number)
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            out.append(c + ' ' * (j - i - 1) + c)
            i = j + 1
            continue
        else:
            out.append(c)
            i += 1
            continue
        out.append(re.sub(r'[^\n]', ' ', text[i:j]))
        i = j
    return ''.join(out)


class Item:
    """Something found at namespace or class level: kind is 'namespace', 'type', 'function'
    (a definition, with its body's last line) or 'declaration' (of a function)."""

    def __init__(self, kind, name, scopes, first, last=None):
        self.kind, self.name, self.scopes, self.first, self.last = kind, name, scopes, first, last

    def owner(self):
        """The outermost name the item belongs to: its first qualifier or its enclosing
        namespace, else its own name. None inside an anonymous namespace."""
        if '' in self.scopes:
            return None
        return (self.scopes + self.name.split('::'))[0] or None


def _name(head):
    before = re.sub(r'operator\s*[^\s(]+', 'operator', head.split('(')[0]).strip()
    return re.split(r'[\s*&]+', before)[-1] if before else ''


def scan(text):
    """The namespaces, types and functions of a source text, in order."""
    text = strip(text)
    line_of = lambda at: text.count('\n', 0, at) + 1
    stack = []  # per open brace: ('scope', name) to see through, ('function', item), or ('block',)
    items, start = [], 0
    i = 0
    while i < len(text):
        c = text[i]
        in_function = any(s[0] == 'function' for s in stack)
        if c == '{':
            head = ' '.join(text[start:i].split())
            if in_function:
                stack.append(('block',))
            elif re.search(r'\)\s*(const\s*)?(noexcept\s*)?:\s', head) and re.search(r'[\w>]$', head):
                # A member initialised with braces in a constructor's initialiser list: still
                # the head.
                close = _matching(text, i)
                i = close + 1
                continue
            elif _SCOPE.match(head) and not re.search(r'\)\s*(const\s*)?$', head):
                m = re.match(r'(?:template\s*<.*>\s*)?(namespace|class|struct|union)\s+(\w+)', head)
                if m:
                    kind = 'namespace' if m.group(1) == 'namespace' else 'type'
                    items.append(Item(kind, m.group(2), _scopes(stack), line_of(_first(text, start, i))))
                stack.append(('scope', m.group(2) if m else ''))
            elif _is_function(head):
                item = Item('function', _name(head), _scopes(stack), line_of(_first(text, start, i)))
                stack.append(('function', item))
            else:
                stack.append(('block',))
            start = i + 1
        elif c == '}':
            top = stack.pop() if stack else ('block',)
            if top[0] == 'function':
                top[1].last = line_of(i)
                items.append(top[1])
            start = i + 1
        elif c == ';' and not in_function:
            head = ' '.join(text[start:i].split())
            if _is_function(head) and not re.match(r'(using|typedef|friend|static_assert|return)\b', head):
                items.append(Item('declaration', _name(head), _scopes(stack), line_of(_first(text, start, i))))
            start = i + 1
        elif c == ':' and not in_function and re.search(r'\b(public|private|protected)\s*$', text[start:i]):
            start = i + 1
        elif c == '#' and text[start:i].strip() == '':  # a preprocessor line is no head
            end = text.find('\n', i)
            i = len(text) if end < 0 else end
            start = i
            continue
        i += 1
    return items


def _is_function(head):
    before = re.sub(r'operator\s*[^\s(]+', 'operator', head.split('(')[0])
    return '(' in head and not _TYPE.match(head) and '=' not in before


def _scopes(stack):
    return [s[1] for s in stack if s[0] == 'scope']


def _first(text, start, end):
    """Where the text between start and end begins, past its blanks."""
    return start + len(text[start:end]) - len(text[start:end].lstrip())


def _matching(text, at):
    depth = 0
    for j in range(at, len(text)):
        depth += {'{': 1, '}': -1}.get(text[j], 0)
        if depth == 0:
            return j
    return len(text) - 1
