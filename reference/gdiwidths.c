/*
 * gdiwidths: ask the Windows GDI (run it under Wine) what it makes of a
 * LOGFONT, so Spanwick's own font code can be checked against it.
 *
 * Single query (one JSON line on stdout):
 *   gdiwidths --face NAME --height N --width N --weight N
 *             [--italic] [--underline] [--strikeout] [--first C --last C]
 *             [--dc mem|screen] [--metrics]
 *   -> {"face":"<GetTextFaceA>","widths":[w(first),...,w(last)]}
 *   with --metrics instead:
 *   -> {"face":"...","tmHeight":..,"tmAscent":..,"tmDescent":..,...}
 *
 * Font families:
 *   gdiwidths --list           family names from EnumFontFamiliesExA,
 *                              first-seen order, each once
 *   gdiwidths --list-verbose   every callback: family, full name, style,
 *                              charset, font type (tab separated)
 *
 * Many queries in one process (starting Wine is the slow part):
 *   gdiwidths --batch < queries
 *   Each input line holds the same options as the command line (double
 *   quotes group words, "" is an empty face name; blank lines and lines
 *   starting with # are skipped). Each query prints one line:
 *   {"args":{...},"face":"...","widths":[...]}   (or the metrics fields).
 *   Query options given on the gdiwidths command line become the defaults
 *   for every line.
 *
 * Build: x86_64-w64-mingw32-gcc -O2 -o gdiwidths.exe gdiwidths.c -lgdi32
 */
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum mode { MODE_WIDTHS, MODE_METRICS };
enum dckind { DC_MEM, DC_SCREEN };

struct query {
    char face[LF_FACESIZE];
    long height, width, weight;
    int italic, underline, strikeout;
    long first, last;
    enum mode mode;
    enum dckind dc;
};

static void query_defaults(struct query *q)
{
    memset(q, 0, sizeof *q);
    q->first = 32;
    q->last = 126;
    q->mode = MODE_WIDTHS;
    q->dc = DC_MEM;
}

/* Writes s as a JSON string. GetTextFaceA hands back bytes in the ANSI
 * code page; anything outside ASCII goes out as \uXXXX. */
static void put_json_string(FILE *out, const char *s)
{
    WCHAR wide[256];
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, wide, 256);
    int i;
    if (n <= 0) {
        wide[0] = 0;
        n = 1;
    }
    fputc('"', out);
    for (i = 0; i < n - 1; i++) {
        WCHAR c = wide[i];
        if (c == '"' || c == '\\')
            fprintf(out, "\\%c", (char)c);
        else if (c < 0x20 || c >= 0x7f)
            fprintf(out, "\\u%04x", (unsigned)c);
        else
            fputc((int)c, out);
    }
    fputc('"', out);
}

static int parse_long(const char *opt, const char *s, long *v)
{
    char *end;
    if (!s) {
        fprintf(stderr, "gdiwidths: %s needs a value\n", opt);
        return 0;
    }
    *v = strtol(s, &end, 0);
    if (*s == '\0' || *end != '\0') {
        fprintf(stderr, "gdiwidths: %s: not a number: %s\n", opt, s);
        return 0;
    }
    return 1;
}

/* A character for --first/--last: a number, or a single character. */
static int parse_char(const char *opt, const char *s, long *v)
{
    if (s && s[0] && !s[1] && !(s[0] >= '0' && s[0] <= '9')) {
        *v = (unsigned char)s[0];
        return 1;
    }
    return parse_long(opt, s, v);
}

/* Options that describe one query. Returns the number of argv entries
 * used (1 or 2), 0 if argv[0] is not a query option, -1 on error. */
static int parse_query_opt(struct query *q, char **argv, int argc)
{
    const char *o = argv[0];
    const char *val = argc > 1 ? argv[1] : NULL;
    if (!strcmp(o, "--face")) {
        if (!val) {
            fprintf(stderr, "gdiwidths: --face needs a value\n");
            return -1;
        }
        /* lfFaceName: at most 31 bytes and the NUL */
        strncpy(q->face, val, LF_FACESIZE - 1);
        q->face[LF_FACESIZE - 1] = '\0';
        return 2;
    }
    if (!strcmp(o, "--height"))
        return parse_long(o, val, &q->height) ? 2 : -1;
    if (!strcmp(o, "--width"))
        return parse_long(o, val, &q->width) ? 2 : -1;
    if (!strcmp(o, "--weight"))
        return parse_long(o, val, &q->weight) ? 2 : -1;
    if (!strcmp(o, "--first"))
        return parse_char(o, val, &q->first) ? 2 : -1;
    if (!strcmp(o, "--last"))
        return parse_char(o, val, &q->last) ? 2 : -1;
    if (!strcmp(o, "--italic")) { q->italic = 1; return 1; }
    if (!strcmp(o, "--underline")) { q->underline = 1; return 1; }
    if (!strcmp(o, "--strikeout")) { q->strikeout = 1; return 1; }
    if (!strcmp(o, "--no-italic")) { q->italic = 0; return 1; }
    if (!strcmp(o, "--no-underline")) { q->underline = 0; return 1; }
    if (!strcmp(o, "--no-strikeout")) { q->strikeout = 0; return 1; }
    if (!strcmp(o, "--metrics")) { q->mode = MODE_METRICS; return 1; }
    if (!strcmp(o, "--dc")) {
        if (val && !strcmp(val, "mem")) { q->dc = DC_MEM; return 2; }
        if (val && !strcmp(val, "screen")) { q->dc = DC_SCREEN; return 2; }
        fprintf(stderr, "gdiwidths: --dc takes mem or screen\n");
        return -1;
    }
    return 0;
}

static void fill_logfont(const struct query *q, LOGFONTA *lf)
{
    memset(lf, 0, sizeof *lf);
    lf->lfHeight = q->height;
    lf->lfWidth = q->width;
    lf->lfEscapement = 0;
    lf->lfOrientation = 0;
    lf->lfWeight = q->weight;
    lf->lfItalic = q->italic ? 1 : 0;
    lf->lfUnderline = q->underline ? 1 : 0;
    lf->lfStrikeOut = q->strikeout ? 1 : 0;
    lf->lfCharSet = DEFAULT_CHARSET; /* 1 */
    lf->lfOutPrecision = 0;
    lf->lfClipPrecision = 0;
    lf->lfQuality = 0;
    lf->lfPitchAndFamily = 0;
    memcpy(lf->lfFaceName, q->face, LF_FACESIZE);
}

static void put_args(FILE *out, const struct query *q)
{
    fputs("\"args\":{\"face\":", out);
    put_json_string(out, q->face);
    fprintf(out, ",\"height\":%ld,\"width\":%ld,\"weight\":%ld"
            ",\"italic\":%s,\"underline\":%s,\"strikeout\":%s",
            q->height, q->width, q->weight,
            q->italic ? "true" : "false",
            q->underline ? "true" : "false",
            q->strikeout ? "true" : "false");
    if (q->first != 32 || q->last != 126)
        fprintf(out, ",\"first\":%ld,\"last\":%ld", q->first, q->last);
    if (q->dc == DC_SCREEN)
        fputs(",\"dc\":\"screen\"", out);
    fputs("},", out);
}

/* A query that produced nothing still gets its line in batch mode, so the
 * output lines stay in step with the input lines. */
static void put_failure(FILE *out, const struct query *q, int with_args,
                        const char *what)
{
    if (!with_args)
        return;
    fputc('{', out);
    put_args(out, q);
    fprintf(out, "\"error\":\"%s\"}\n", what);
    fflush(out);
}

/* Runs one query and prints its JSON line. Returns 0 on success. */
static int run_query(FILE *out, const struct query *q, int with_args)
{
    LOGFONTA lf;
    HFONT font, old;
    HDC dc;
    char face[256];
    int ok = 1;

    if (q->first < 0 || q->last < q->first || q->last > 0xffff) {
        fprintf(stderr, "gdiwidths: bad character range %ld..%ld\n",
                q->first, q->last);
        put_failure(out, q, with_args, "bad character range");
        return 1;
    }

    fill_logfont(q, &lf);
    font = CreateFontIndirectA(&lf);
    if (!font) {
        fprintf(stderr, "gdiwidths: CreateFontIndirectA failed (%lu)\n",
                GetLastError());
        put_failure(out, q, with_args, "CreateFontIndirectA failed");
        return 1;
    }
    dc = q->dc == DC_SCREEN ? GetDC(NULL) : CreateCompatibleDC(NULL);
    if (!dc) {
        fprintf(stderr, "gdiwidths: no %s DC (%lu)\n",
                q->dc == DC_SCREEN ? "screen" : "memory", GetLastError());
        DeleteObject(font);
        put_failure(out, q, with_args, "no DC");
        return 1;
    }
    old = SelectObject(dc, font);

    face[0] = '\0';
    if (!GetTextFaceA(dc, sizeof face, face)) {
        fprintf(stderr, "gdiwidths: GetTextFaceA failed (%lu)\n",
                GetLastError());
        face[0] = '\0';
    }

    fputc('{', out);
    if (with_args)
        put_args(out, q);
    fputs("\"face\":", out);
    put_json_string(out, face);

    if (q->mode == MODE_METRICS) {
        TEXTMETRICA tm;
        if (GetTextMetricsA(dc, &tm)) {
            fprintf(out,
                    ",\"tmHeight\":%ld,\"tmAscent\":%ld,\"tmDescent\":%ld"
                    ",\"tmInternalLeading\":%ld,\"tmExternalLeading\":%ld"
                    ",\"tmAveCharWidth\":%ld,\"tmMaxCharWidth\":%ld"
                    ",\"tmWeight\":%ld,\"tmItalic\":%d"
                    ",\"tmPitchAndFamily\":%d,\"tmCharSet\":%d",
                    tm.tmHeight, tm.tmAscent, tm.tmDescent,
                    tm.tmInternalLeading, tm.tmExternalLeading,
                    tm.tmAveCharWidth, tm.tmMaxCharWidth,
                    tm.tmWeight, tm.tmItalic,
                    tm.tmPitchAndFamily, tm.tmCharSet);
        } else {
            fprintf(stderr, "gdiwidths: GetTextMetricsA failed (%lu)\n",
                    GetLastError());
            ok = 0;
        }
    } else {
        long n = q->last - q->first + 1, i;
        INT *w = calloc((size_t)n, sizeof *w);
        if (w && GetCharWidth32A(dc, (UINT)q->first, (UINT)q->last, w)) {
            fputs(",\"widths\":[", out);
            for (i = 0; i < n; i++)
                fprintf(out, i ? ",%d" : "%d", w[i]);
            fputc(']', out);
        } else {
            fprintf(stderr, "gdiwidths: GetCharWidth32A failed (%lu)\n",
                    GetLastError());
            fputs(",\"widths\":null", out);
            ok = 0;
        }
        free(w);
    }
    fputs("}\n", out);
    fflush(out);

    SelectObject(dc, old);
    if (q->dc == DC_SCREEN)
        ReleaseDC(NULL, dc);
    else
        DeleteDC(dc);
    DeleteObject(font);
    return ok ? 0 : 1;
}

/* ---- --list ------------------------------------------------------- */

struct names {
    char (*v)[LF_FACESIZE];
    size_t n, cap;
};

static int names_add(struct names *s, const char *name)
{
    size_t i;
    for (i = 0; i < s->n; i++)
        if (!strcmp(s->v[i], name))
            return 0;
    if (s->n == s->cap) {
        size_t cap = s->cap ? s->cap * 2 : 64;
        void *v = realloc(s->v, cap * sizeof *s->v);
        if (!v)
            return 0;
        s->v = v;
        s->cap = cap;
    }
    memcpy(s->v[s->n], name, LF_FACESIZE);
    s->v[s->n][LF_FACESIZE - 1] = '\0';
    s->n++;
    return 1;
}

static int CALLBACK list_cb(const LOGFONTA *lf, const TEXTMETRICA *tm,
                            DWORD type, LPARAM data)
{
    (void)tm;
    (void)type;
    if (names_add((struct names *)data, lf->lfFaceName))
        printf("%s\n", lf->lfFaceName);
    return 1;
}

static int CALLBACK list_verbose_cb(const LOGFONTA *lf, const TEXTMETRICA *tm,
                                    DWORD type, LPARAM data)
{
    const ENUMLOGFONTEXA *elf = (const ENUMLOGFONTEXA *)lf;
    (void)tm;
    (void)data;
    printf("%s\t%s\t%s\t%d\t%s%s%s\n", lf->lfFaceName,
           (const char *)elf->elfFullName, (const char *)elf->elfStyle,
           lf->lfCharSet,
           (type & TRUETYPE_FONTTYPE) ? "truetype" : "",
           (type & RASTER_FONTTYPE) ? "raster" : "",
           (type & DEVICE_FONTTYPE) ? "device" : "");
    return 1;
}

static const char *list_family_name = "";

static int list_families(int verbose)
{
    LOGFONTA lf;
    struct names seen = { 0 };
    HDC dc = CreateCompatibleDC(NULL);
    if (!dc) {
        fprintf(stderr, "gdiwidths: no memory DC\n");
        return 1;
    }
    memset(&lf, 0, sizeof lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    strncpy(lf.lfFaceName, list_family_name, LF_FACESIZE - 1);
    if (verbose)
        EnumFontFamiliesExA(dc, &lf, list_verbose_cb, 0, 0);
    else
        EnumFontFamiliesExA(dc, &lf, list_cb, (LPARAM)&seen, 0);
    fflush(stdout);
    free(seen.v);
    DeleteDC(dc);
    return 0;
}

/* ---- --batch ------------------------------------------------------ */

/* Splits line into words in place. Double quotes group; "" is an empty
 * word; \" and \\ inside quotes are literal. */
static int split_words(char *line, char **words, int max)
{
    int n = 0;
    char *r = line, *w;
    for (;;) {
        while (*r == ' ' || *r == '\t')
            r++;
        if (!*r)
            break;
        if (n == max)
            return -1;
        words[n++] = w = r;
        while (*r && *r != ' ' && *r != '\t') {
            if (*r == '"') {
                r++;
                while (*r && *r != '"') {
                    if (*r == '\\' && (r[1] == '"' || r[1] == '\\'))
                        r++;
                    *w++ = *r++;
                }
                if (*r != '"')
                    return -1;
                r++;
            } else {
                *w++ = *r++;
            }
        }
        if (*r)
            r++;
        *w = '\0';
    }
    return n;
}

static int run_batch(const struct query *defaults)
{
    char line[4096];
    char *words[64];
    int failures = 0;
    long lineno = 0;

    while (fgets(line, sizeof line, stdin)) {
        struct query q = *defaults;
        size_t len = strlen(line);
        int n, i, used;
        lineno++;
        while (len && (line[len - 1] == '\n' || line[len - 1] == '\r'))
            line[--len] = '\0';
        n = split_words(line, words, 64);
        if (n < 0) {
            fprintf(stderr, "gdiwidths: line %ld: cannot split\n", lineno);
            printf("{\"error\":\"bad line %ld\"}\n", lineno);
            failures++;
            continue;
        }
        if (n == 0 || words[0][0] == '#')
            continue;
        for (i = 0; i < n; i += used) {
            used = parse_query_opt(&q, words + i, n - i);
            if (used == 0)
                fprintf(stderr, "gdiwidths: line %ld: unknown option %s\n",
                        lineno, words[i]);
            if (used <= 0)
                break;
        }
        if (i < n) {
            printf("{\"error\":\"bad line %ld\"}\n", lineno);
            failures++;
            continue;
        }
        if (run_query(stdout, &q, 1))
            failures++;
    }
    fflush(stdout);
    return failures ? 1 : 0;
}

static void usage(void)
{
    fputs("usage: gdiwidths --face NAME --height N --width N --weight N\n"
          "                 [--italic] [--underline] [--strikeout]\n"
          "                 [--first C --last C] [--dc mem|screen] [--metrics]\n"
          "       gdiwidths --list | --list-verbose\n"
          "       gdiwidths [defaults...] --batch < queries\n",
          stderr);
}

int main(int argc, char **argv)
{
    enum { RUN_QUERY, RUN_LIST, RUN_LIST_VERBOSE, RUN_BATCH } action = RUN_QUERY;
    struct query q;
    int i, used;

    /* No CR/LF translation: the output is read by Linux tools. */
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);

    query_defaults(&q);
    for (i = 1; i < argc; i += used) {
        used = 1;
        if (!strcmp(argv[i], "--list"))
            action = RUN_LIST;
        else if (!strcmp(argv[i], "--list-verbose"))
            action = RUN_LIST_VERBOSE;
        else if (!strcmp(argv[i], "--family") && i + 1 < argc)
            list_family_name = argv[++i];
        else if (!strcmp(argv[i], "--batch"))
            action = RUN_BATCH;
        else if (!strcmp(argv[i], "--help") || !strcmp(argv[i], "-h")) {
            usage();
            return 0;
        } else {
            used = parse_query_opt(&q, argv + i, argc - i);
            if (used == 0) {
                fprintf(stderr, "gdiwidths: unknown option %s\n", argv[i]);
                usage();
                return 2;
            }
            if (used < 0)
                return 2;
        }
    }
    switch (action) {
    case RUN_LIST:
        return list_families(0);
    case RUN_LIST_VERBOSE:
        return list_families(1);
    case RUN_BATCH:
        return run_batch(&q);
    default:
        return run_query(stdout, &q, 0);
    }
}
