#!/usr/bin/python3
"""web-mpg123-x86.py OUT.c ROUTINE.s...: mpg123's x86-64 routines, preprocessed,
as C that computes exactly what they compute, for the WebAssembly build.

The desktop's libmpg123 decodes with its x86-64 AVX routines (dct36_avx,
dct64_real_avx, synth_1to1_s_avx_accurate_asm); its portable C does the same
sums in another order, and the sound then differs by one step in a few samples
of every thousand. So the web build runs these routines themselves, taken
instruction by instruction from their assembly (Debian's source of mpg123): the
registers become arrays, each instruction the same lane-wise operations in the
same order. Only the instructions these routines use are known; any other stops
the build.
"""
import re
import sys

GPR64 = ['rax', 'rcx', 'rdx', 'rbx', 'rsp', 'rbp', 'rsi', 'rdi'] + ['r%d' % i for i in range(8, 16)]
GPR32 = {'eax': 'rax', 'ecx': 'rcx', 'edx': 'rdx', 'ebx': 'rbx', 'esi': 'rsi', 'edi': 'rdi'}
GPR32.update({'r%dd' % i: 'r%d' % i for i in range(8, 16)})
ARGS = ['rdi', 'rsi', 'rdx', 'rcx', 'r8', 'r9']

# The routines known, with the prototypes their callers in mpg123 declare: the
# result, the parameters, and which of them each argument register carries
# (None: the int bo1, of which the routine reads the low 32 bits).
PROTOTYPES = {
    'INT123_dct36_avx': ('void', 'float *in, float *o1, float *o2, const float *wintab, float *ts',
                         ['in', 'o1', 'o2', 'wintab', 'ts']),
    'INT123_dct64_real_avx': ('void', 'float *out0, float *out1, float *samples', ['out0', 'out1', 'samples']),
    'INT123_synth_1to1_s_avx_accurate_asm': ('int', 'float *window, float *b0l, float *b0r, short *samples, int bo1',
                                             ['window', 'b0l', 'b0r', 'samples', None]),
}

PRELUDE = r'''/* Made by scripts/web-mpg123-x86.py from mpg123's x86-64 assembly: do not edit. */
#include <math.h>
#include <stdint.h>
#include <string.h>

typedef union { float f[8]; uint32_t u[8]; int32_t i[8]; int16_t w[16]; } Ymm;

static uint64_t Zero32(uint64_t v) { return v & 0xFFFFFFFFu; }
static Ymm Load(uint64_t address, int lanes) {
    Ymm v;
    memset(&v, 0, sizeof v);
    memcpy(v.u, (const void*)(uintptr_t)address, 4u * (unsigned)lanes);
    return v;
}
static void Store(uint64_t address, const Ymm* v, int first, int lanes) {
    memcpy((void*)(uintptr_t)address, &v->u[first], 4u * (unsigned)lanes);
}
static void ZeroUpper(Ymm* v) { memset(&v->u[4], 0, 16); }
static int32_t ToInt32(float x) {
    if (!(x >= -2147483648.0f && x < 2147483648.0f)) return INT32_MIN;
    return (int32_t)nearbyintf(x);
}
static int16_t Saturate16(int32_t x) { return (int16_t)(x > 32767 ? 32767 : x < -32768 ? -32768 : x); }
'''


def fail(line, why):
    sys.exit('web-mpg123-x86: %s: %s' % (why, line))


def number(text):
    """An assembler constant: a number or a little arithmetic of numbers."""
    if not re.fullmatch(r'[-+*()0-9a-fA-FxX ]+', text):
        fail(text, 'not a constant')
    return int(eval(text, {'__builtins__': {}}, {}))


class Routine:
    def __init__(self, name):
        if name not in PROTOTYPES:
            sys.exit('web-mpg123-x86: no prototype known for ' + name)
        self.name = name
        self.returns = PROTOTYPES[name][0] == 'int'
        self.body = []
        self.labels = {}  # local label -> how many of that number seen so far

    def emit(self, text):
        self.body.append('    ' + text)


def parse_operand(text):
    text = text.strip()
    if text.startswith('$'):
        return ('imm', number(text[1:]))
    if text.startswith('%'):
        reg = text[1:]
        if reg.startswith('xmm'):
            return ('xmm', int(reg[3:]))
        if reg.startswith('ymm'):
            return ('ymm', int(reg[3:]))
        if reg in GPR64:
            return ('gpr', reg, 64)
        if reg in GPR32:
            return ('gpr', GPR32[reg], 32)
        fail(text, 'unknown register')
    m = re.fullmatch(r'([^()]*)\(([^)]*)\)', text)
    if not m:
        fail(text, 'unknown operand')
    disp, inner = m.group(1).strip(), [p.strip() for p in m.group(2).split(',')]
    if inner == ['%rip']:
        label = re.search(r'[A-Za-z_][A-Za-z0-9_]*', disp).group(0)
        offset = number(disp.replace(label, '0'))
        return ('mem', '((uint64_t)(uintptr_t)%s + %d)' % (label, offset))
    parts = ['G[%d]' % GPR64.index(inner[0][1:])]
    if len(inner) > 1 and inner[1]:
        scale = int(inner[2]) if len(inner) > 2 else 1
        parts.append('G[%d] * %dull' % (GPR64.index(inner[1][1:]), scale))
    if disp:
        parts.append('(uint64_t)(int64_t)(%d)' % number(disp))
    return ('mem', '(' + ' + '.join(parts) + ')')


def split_operands(text):
    out, depth, cur = [], 0, ''
    for ch in text:
        if ch == ',' and depth == 0:
            out.append(cur)
            cur = ''
            continue
        depth += ch == '('
        depth -= ch == ')'
        cur += ch
    if cur.strip():
        out.append(cur)
    return [parse_operand(o) for o in out]


def vec(op):
    return 'V[%d]' % op[1]


def lanes_of(op):
    return 8 if op[0] == 'ymm' else 4


def source(op, lanes):
    """An expression for a vector source operand (register or memory)."""
    if op[0] in ('xmm', 'ymm'):
        return vec(op)
    if op[0] == 'mem':
        return 'Load(%s, %d)' % (op[1], lanes)
    fail(op, 'not a vector source')


FLOAT_OPS = {'add': '+', 'sub': '-', 'mul': '*'}


def lanewise(r, dst, a, b, lanes, expr, zero_upper):
    """dst = expr over lanes 0..lanes-1 of a and b (other lanes kept, or the upper half zeroed)."""
    r.emit('{ Ymm a = %s, b = %s, d = %s; (void)b; for (int i = 0; i < %d; ++i) %s;%s %s = d; }' % (
        a, b, vec(dst), lanes, expr, ' ZeroUpper(&d);' if zero_upper else '', vec(dst)))


def translate_control(r, m, ops, line):
    """What is not a vector: prefetches, returns, loops, integer registers."""
    if m == 'prefetcht0':
        return True
    if m == 'vzeroupper':
        r.emit('for (int k = 0; k < 16; ++k) ZeroUpper(&V[k]);')
        return True
    if m == 'ret':
        r.emit('return %s;' % ('(int)(uint32_t)G[0]' if r.returns else ''))
        return True
    # Integer registers.
    if m in ('mov', 'movq', 'movl', 'add', 'addq', 'sub', 'subq', 'shl', 'and', 'lea', 'leaq', 'negq', 'dec'):
        translate_gpr(r, m, ops, line)
        return True
    if m == 'jnz':
        label = line.split()[1]
        if not label.endswith('b'):
            fail(line, 'only backward jumps are known')
        n = r.labels[label[:-1]]
        r.emit('if (!zf) goto L%s_%d;' % (label[:-1], n - 1))
        return True
    return False


def translate_move(r, m, ops, line):
    """Vector moves: loads, stores and lanes between registers."""
    if m in ('movups', 'movaps', 'vmovups', 'vmovaps', 'MOVUAPS'):
        src, dst = ops
        if dst[0] == 'mem':
            r.emit('Store(%s, &%s, 0, %d);' % (dst[1], vec(src), lanes_of(src)))
        else:
            lanes = lanes_of(dst)
            vex = m.startswith('v')
            if src[0] == 'mem':
                if vex or lanes == 8:
                    r.emit('%s = Load(%s, %d);' % (vec(dst), src[1], lanes))
                else:
                    r.emit('{ Ymm s = Load(%s, 4); memcpy(%s.u, s.u, 16); }' % (src[1], vec(dst)))
            else:
                if vex and lanes == 4:
                    r.emit('%s = %s; ZeroUpper(&%s);' % (vec(dst), vec(src), vec(dst)))
                elif lanes == 8:
                    r.emit('%s = %s;' % (vec(dst), vec(src)))
                else:
                    r.emit('memcpy(%s.u, %s.u, 16);' % (vec(dst), vec(src)))
        return True
    if m in ('movss', 'vmovss'):
        src, dst = ops
        if dst[0] == 'mem':
            r.emit('Store(%s, &%s, 0, 1);' % (dst[1], vec(src)))
        elif src[0] == 'mem':
            if m == 'vmovss':
                fail(line, 'unknown form')
            r.emit('{ Ymm s = Load(%s, 1); %s.u[0] = s.u[0]; %s.u[1] = %s.u[2] = %s.u[3] = 0; }' % (
                src[1], vec(dst), vec(dst), vec(dst), vec(dst)))
        else:
            if m == 'vmovss':
                fail(line, 'unknown form')
            r.emit('%s.u[0] = %s.u[0];' % (vec(dst), vec(src)))
        return True
    if m in ('movlps', 'movhps'):
        src, dst = ops
        first = 0 if m == 'movlps' else 2
        if dst[0] == 'mem':
            r.emit('Store(%s, &%s, %d, 2);' % (dst[1], vec(src), first))
        else:
            r.emit('{ Ymm s = Load(%s, 2); %s.u[%d] = s.u[0]; %s.u[%d] = s.u[1]; }' % (
                src[1], vec(dst), first, vec(dst), first + 1))
        return True
    if m == 'movhlps':
        src, dst = ops
        r.emit('{ Ymm a = %s; %s.u[0] = a.u[2]; %s.u[1] = a.u[3]; }' % (vec(src), vec(dst), vec(dst)))
        return True
    if m in ('vmovhlps', 'vmovlhps'):
        a, b, dst = ops
        if m == 'vmovhlps':
            r.emit('{ Ymm a = %s, b = %s, d = b; d.u[0] = a.u[2]; d.u[1] = a.u[3]; ZeroUpper(&d); %s = d; }' % (
                vec(a), vec(b), vec(dst)))
        else:
            r.emit('{ Ymm a = %s, b = %s, d = b; d.u[2] = a.u[0]; d.u[3] = a.u[1]; ZeroUpper(&d); %s = d; }' % (
                vec(a), vec(b), vec(dst)))
        return True
    if m == 'movd':
        src, dst = ops
        r.emit('G[%d] = %s.u[0];' % (GPR64.index(dst[1]), vec(src)))
        return True
    return False


def translate_arithmetic(r, m, ops, line):
    """Lane-wise arithmetic, logic, comparison and conversion."""
    for stem, sign in FLOAT_OPS.items():
        if m in (stem + 'ps', stem + 'ss'):
            src, dst = ops
            lanes = 1 if m.endswith('ss') else 4
            lanewise(r, dst, vec(dst), source(src, lanes), lanes, 'd.f[i] = a.f[i] %s b.f[i]' % sign, False)
            return True
        if m in ('v' + stem + 'ps', 'v' + stem + 'ss'):
            a, b, dst = ops
            if m.endswith('ss'):
                r.emit('{ Ymm a = %s, b = %s, d = b; d.f[0] = b.f[0] %s a.f[0]; ZeroUpper(&d); %s = d; }' % (
                    source(a, 1), vec(b), sign, vec(dst)))
            else:
                lanes = lanes_of(dst)
                lanewise(r, dst, vec(b), source(a, lanes), lanes, 'd.f[i] = a.f[i] %s b.f[i]' % sign, lanes == 4)
            return True
    if m in ('xorps', 'pxor'):
        src, dst = ops
        lanewise(r, dst, vec(dst), source(src, 4), 4, 'd.u[i] = a.u[i] ^ b.u[i]', False)
        return True
    if m in ('vxorps', 'vpxor'):
        a, b, dst = ops
        lanes = lanes_of(dst)
        lanewise(r, dst, vec(b), source(a, lanes), lanes, 'd.u[i] = a.u[i] ^ b.u[i]', lanes == 4)
        return True
    if m in ('paddw', 'psubw'):
        src, dst = ops
        sign = '+' if m == 'paddw' else '-'
        lanewise(r, dst, vec(dst), source(src, 4), 8, 'd.w[i] = (int16_t)(a.w[i] %s b.w[i])' % sign, False)
        return True
    if m == 'vpaddw':
        a, b, dst = ops
        lanewise(r, dst, vec(b), source(a, 4), 8, 'd.w[i] = (int16_t)(a.w[i] + b.w[i])', True)  # xmm only
        return True
    if m in ('vcmpnleps', 'vcmpltps'):
        a, b, dst = ops
        lanes = lanes_of(dst)
        test = '!(a.f[i] <= b.f[i])' if m == 'vcmpnleps' else '(a.f[i] < b.f[i])'
        lanewise(r, dst, vec(b), source(a, lanes), lanes, 'd.u[i] = %s ? 0xFFFFFFFFu : 0' % test, lanes == 4)
        return True
    if m == 'vcvtps2dq':
        src, dst = ops
        lanes = lanes_of(dst)
        lanewise(r, dst, vec(src), vec(src), lanes, 'd.i[i] = ToInt32(a.f[i])', lanes == 4)
        return True
    if m == 'vpackssdw':
        a, b, dst = ops
        r.emit('{ Ymm a = %s, b = %s, d; memset(&d, 0, sizeof d); for (int i = 0; i < 4; ++i) { '
               'd.w[i] = Saturate16(b.i[i]); d.w[4 + i] = Saturate16(a.i[i]); } %s = d; }' % (
                   source(a, 4), vec(b), vec(dst)))
        return True
    return False


def translate_shuffle(r, m, ops, line):
    """Lanes rearranged: shuffles, unpacks, blends, permutes, extracts."""
    if m in ('shufps', 'vshufps'):
        if m == 'shufps':
            imm, a, dst = ops
            b = dst
            vex = False
        else:
            imm, a, b, dst = ops
            vex = True
        k = imm[1]
        lanes = lanes_of(dst) if vex else 4
        r.emit('{ Ymm a = %s, b = %s, d = %s; for (int h = 0; h < %d; h += 4) { d.u[h] = b.u[h + %d]; '
               'd.u[h + 1] = b.u[h + %d]; d.u[h + 2] = a.u[h + %d]; d.u[h + 3] = a.u[h + %d]; }%s %s = d; }' % (
                   source(a, lanes), vec(b), vec(dst), lanes, k & 3, k >> 2 & 3, k >> 4 & 3, k >> 6 & 3,
                   ' ZeroUpper(&d);' if vex and lanes == 4 else '', vec(dst)))
        return True
    if m in ('pshufd', 'vpermilps'):
        imm, src, dst = ops
        k = imm[1]
        lanes = lanes_of(dst) if m == 'vpermilps' else 4
        r.emit('{ Ymm a = %s, d = %s; for (int h = 0; h < %d; h += 4) { d.u[h] = a.u[h + %d]; d.u[h + 1] = a.u[h + %d]; '
               'd.u[h + 2] = a.u[h + %d]; d.u[h + 3] = a.u[h + %d]; } %s = d; }' % (
                   source(src, lanes), vec(dst), lanes, k & 3, k >> 2 & 3, k >> 4 & 3, k >> 6 & 3, vec(dst)))
        return True
    if m == 'pshuflw':
        imm, src, dst = ops
        k = imm[1]
        r.emit('{ Ymm a = %s, d = %s; d.w[0] = a.w[%d]; d.w[1] = a.w[%d]; d.w[2] = a.w[%d]; d.w[3] = a.w[%d]; '
               'for (int i = 4; i < 8; ++i) d.w[i] = a.w[i]; %s = d; }' % (
                   source(src, 4), vec(dst), k & 3, k >> 2 & 3, k >> 4 & 3, k >> 6 & 3, vec(dst)))
        return True
    if m in ('vunpcklps', 'vunpckhps', 'vunpcklpd', 'vunpckhpd'):
        a, b, dst = ops
        lanes = lanes_of(dst)
        high = 2 if m[6] == 'h' else 0
        if m.endswith('ps'):
            body = ('d.u[h] = b.u[h + %d]; d.u[h + 1] = a.u[h + %d]; d.u[h + 2] = b.u[h + %d]; d.u[h + 3] = a.u[h + %d];'
                    % (high, high, high + 1, high + 1))
        else:
            body = ('d.u[h] = b.u[h + %d]; d.u[h + 1] = b.u[h + %d]; d.u[h + 2] = a.u[h + %d]; d.u[h + 3] = a.u[h + %d];'
                    % (high, high + 1, high, high + 1))
        r.emit('{ Ymm a = %s, b = %s, d = %s; for (int h = 0; h < %d; h += 4) { %s }%s %s = d; }' % (
            source(a, lanes), vec(b), vec(dst), lanes, body, ' ZeroUpper(&d);' if lanes == 4 else '', vec(dst)))
        return True
    if m in ('blendps', 'vblendps'):
        if m == 'blendps':
            imm, a, dst = ops
            b = dst
        else:
            imm, a, b, dst = ops
        lanes = lanes_of(dst) if m == 'vblendps' else 4
        r.emit('{ Ymm a = %s, b = %s, d = %s; for (int i = 0; i < %d; ++i) d.u[i] = (%d >> i & 1) ? a.u[i] : b.u[i];%s %s = d; }' % (
            source(a, lanes), vec(b), vec(dst), lanes, imm[1],
            ' ZeroUpper(&d);' if m == 'vblendps' and lanes == 4 else '', vec(dst)))
        return True
    if m == 'vperm2f128':
        imm, a, b, dst = ops
        k = imm[1]
        r.emit('{ Ymm a = %s, b = %s, d; const Ymm* pick[4] = {&b, &b, &a, &a}; for (int h = 0; h < 2; ++h) { '
               'int s = (%d >> (4 * h)) & 0xF; for (int i = 0; i < 4; ++i) d.u[4 * h + i] = (s & 8) ? 0 : '
               'pick[s & 3]->u[4 * (s & 1) + i]; } %s = d; }' % (source(a, 8), vec(b), k, vec(dst)))
        return True
    if m == 'vextractf128':
        imm, src, dst = ops
        r.emit('{ Ymm a = %s, d; memset(&d, 0, sizeof d); memcpy(d.u, &a.u[%d], 16); %s = d; }' % (
            vec(src), 4 * (imm[1] & 1), vec(dst)))
        return True
    if m == 'vmovddup':
        src, dst = ops
        r.emit('{ Ymm a = %s, d; for (int h = 0; h < 8; h += 4) { d.u[h] = d.u[h + 2] = a.u[h]; '
               'd.u[h + 1] = d.u[h + 3] = a.u[h + 1]; } %s = d; }' % (source(src, 8), vec(dst)))
        return True
    return False


def translate(r, mnemonic, ops, line):
    for family in (translate_control, translate_move, translate_arithmetic, translate_shuffle):
        if family(r, mnemonic, ops, line):
            return
    fail(line, 'unknown instruction')


def translate_gpr(r, m, ops, line):
    """Integer register arithmetic, on 64-bit registers G (addresses are numbers there)."""
    def value(op):
        if op[0] == 'imm':
            return '(uint64_t)(int64_t)(%d)' % op[1]
        if op[0] == 'gpr':
            return 'G[%d]' % GPR64.index(op[1])
        fail(line, 'unknown integer operand')

    def store(op, expr, flags=True):
        """The result into a register (a 32-bit one zero-extended); arithmetic sets the zero flag."""
        index = GPR64.index(op[1])
        if op[2] == 32:
            r.emit('G[%d] = Zero32(%s);' % (index, expr))
        else:
            r.emit('G[%d] = %s;' % (index, expr))
        if flags:
            r.emit('zf = G[%d] == 0;' % index if op[2] == 64 else 'zf = (uint32_t)G[%d] == 0;' % index)

    if m in ('lea', 'leaq'):
        src, dst = ops
        store(dst, src[1], flags=False)
    elif m in ('mov', 'movq', 'movl'):
        src, dst = ops
        store(dst, value(src), flags=False)
    elif m in ('add', 'addq'):
        src, dst = ops
        store(dst, '%s + %s' % (value(dst), value(src)))
    elif m in ('sub', 'subq'):
        src, dst = ops
        store(dst, '%s - %s' % (value(dst), value(src)))
    elif m == 'shl':
        src, dst = ops
        store(dst, '%s << %d' % (value(dst), src[1]))
    elif m == 'and':
        src, dst = ops
        store(dst, '%s & %s' % (value(dst), value(src)))
    elif m == 'negq':
        (dst,) = ops
        store(dst, '(uint64_t)0 - %s' % value(dst))
    elif m == 'dec':
        (dst,) = ops
        store(dst, '%s - 1' % value(dst))


def read_routines(paths):
    """The constant tables and the routines of the preprocessed assembly files."""
    tables, routines = [], []
    for path in paths:
        section, current, table = None, None, None
        for raw in open(path):
            line = raw.split('#')[0].strip()
            if not line or line.startswith(('.globl', '.balign', '.align', '.p2align', '.type', '.size')):
                continue
            if line.startswith('.section') or line in ('.data', '.text'):
                section = 'text' if line == '.text' else 'data' if ('rodata' in line or line == '.data') else 'other'
                continue
            m = re.fullmatch(r'([A-Za-z_][A-Za-z0-9_]*):', line)
            if m and section == 'data':
                table = [m.group(1), []]
                tables.append(table)
            elif m:
                current = Routine(m.group(1))
                routines.append(current)
            elif re.fullmatch(r'\d+:', line):
                number_label = line[:-1]
                n = current.labels.get(number_label, 0)
                current.labels[number_label] = n + 1
                current.body.append('L%s_%d:;' % (number_label, n))
            elif line.startswith('.long'):
                table[1] += [int(v.strip(), 0) & 0xFFFFFFFF for v in line[5:].split(',')]
            elif section != 'text' or current is None:
                fail(line, 'outside a routine')
            else:
                mnemonic, _, rest = line.partition(' ')
                translate(current, mnemonic, split_operands(rest) if mnemonic != 'jnz' else [], line)
    return tables, routines


def write_c(out, tables, routines):
    """The tables as arrays; each routine as a body over its registers and a function of its callers' prototype."""
    with open(out, 'w') as f:
        f.write(PRELUDE)
        for name, values in tables:
            f.write('static const uint32_t %s[%d] __attribute__((aligned(32))) = {%s};\n' % (
                name, len(values), ', '.join('0x%08Xu' % v for v in values)))
        for r in routines:
            params = ', '.join('uint64_t a%d' % i for i in range(6))
            f.write('\nstatic %s %s_body(%s) {\n' % ('int' if r.returns else 'void', r.name, params))
            f.write('    Ymm V[16];\n    memset(V, 0, sizeof V);\n    uint64_t G[16] = {0};\n    int zf = 0;\n')
            f.write('    (void)zf;\n')
            for i, reg in enumerate(ARGS):
                f.write('    G[%d] = a%d;\n' % (GPR64.index(reg), i))
            f.write('\n'.join(r.body) + '\n')
            if r.returns:
                f.write('    return (int)(uint32_t)G[0];\n')
            f.write('}\n')
            result, params, names = PROTOTYPES[r.name]
            args = ['(uint64_t)(uintptr_t)%s' % n if n else '(uint64_t)(uint32_t)bo1' for n in names]
            args += ['0'] * (6 - len(args))
            f.write('%s %s(%s);\n%s %s(%s) { %s%s_body(%s); }\n' % (
                result, r.name, params, result, r.name, params, 'return ' if result == 'int' else '', r.name,
                ', '.join(args)))


def main():
    tables, routines = read_routines(sys.argv[2:])
    write_c(sys.argv[1], tables, routines)
    return 0


if __name__ == '__main__':
    sys.exit(main())
