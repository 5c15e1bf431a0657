#!/usr/bin/env bash
# Regenerates the sample DVDs under tests/data (pal/ and ntsc/) and the held-out
# evaluation disc (heldout/, see README.md) and the untaught-fonts disc
# (fonts/): a still MPEG-2
# video from ffmpeg, subtitle streams drawn with ImageMagick and multiplexed
# with spumux, and a real VIDEO_TS authored by dvdauthor.  Alongside each disc
# it writes the PNGs fed to spumux, the spumux XML and one truth_s<N>.tsv per
# subtitle stream (see README.md).  Needs: ffmpeg dvdauthor imagemagick
# fonts-dejavu-core fonts-liberation fonts-urw-base35; python3 for the final
# cross-check.
# Arguments: the discs to make (pal, ntsc, heldout, fonts, forced); all five by
# default.
# forced/ is a short PAL disc whose stream mixes forced and unforced subtitles.
set -euo pipefail

discs=${*:-pal ntsc heldout fonts forced}
wanted() { [[ " $discs " == *" $1 "* ]]; }
for d in $discs; do
    [[ $d == pal || $d == ntsc || $d == heldout || $d == fonts || $d == forced ]] || { echo "make_discs.sh: unknown disc $d" >&2; exit 1; }
done

DATA=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d)
trap '[[ -n "${KEEP_WORK:-}" ]] || rm -rf "$WORK"' EXIT
# Both discs are built and checked here, laid out like tests/data, and replace
# the old ones only at the end: a failed or running build never leaves the
# tree without discs.
OUT=$WORK/out

# /usr/local/bin/convert may be a forwarding stub; go to ImageMagick directly.
if [[ -x /usr/bin/convert ]]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi
for tool in ffmpeg spumux dvdauthor "$CONVERT"; do
    command -v "$tool" >/dev/null || { echo "make_discs.sh: $tool not found" >&2; exit 1; }
done

DEJAVU=/usr/share/fonts/truetype/dejavu
LIBERATION=/usr/share/fonts/truetype/liberation
URW=/usr/share/fonts/opentype/urw-base35

# Colour classes and the numbers spumux gives them.  spumux numbers the colours
# of a picture in order of first appearance, scanning rows from the top-left.
# The top-left pixel is always transparent, and the halo is a 1 px ring around
# the outline which is a 2 px ring around the fill, so going down the picture
# the halo is met first, then the outline, then the fill: same numbers in
# every picture.
BG_NUM=0 HALO_NUM=1 OUTLINE_NUM=2 FILL_NUM=3

# The video standard of a disc: the held-out and fonts discs are PAL.
standard_of() { if [[ $1 == ntsc ]]; then echo ntsc; else echo pal; fi; }

ms_to_tc() { # 12345 -> 00:00:12.345 (spumux reads the fraction as seconds)
    printf '%02d:%02d:%02d.%03d' $(($1 / 3600000)) $(($1 / 60000 % 60)) $(($1 / 1000 % 60)) $(($1 % 1000))
}

# Empty fill rows required between the two lines of a subtitle.  Line
# segmentation splits a picture at rows without any text body, and commercial
# discs always leave such rows; a font's own line spacing may not (Liberation
# Sans Bold 32: a "j" over an "À" leaves none), so lines are moved apart there.
LINE_GAP=3

# text_mask OUT W H FONT SIZE GRAVITY GEOMETRY SPACING TEXT
# Hard mask, no antialiasing: every pixel is either text or not.
text_mask() {
    "$CONVERT" -size "${2}x${3}" xc:black +antialias -font "$4" -pointsize "$5" -fill white \
        -interline-spacing "$8" -gravity "$6" -annotate "$7" "$9" -threshold 50% "$1"
}

# rows_of MASK: first and last row holding text
rows_of() {
    local bw bh bx by
    IFS='x+' read -r bw bh bx by <<< "$("$CONVERT" "$1" -format '%@' info:)"
    echo "$by $((by + bh - 1))"
}

# same_mask A B: the two masks are pixel for pixel equal
same_mask() {
    [[ $("$CONVERT" "$1" "$2" -compose difference -composite -format '%[max]' info:) == 0 ]]
}

# render_sub OUT.png W H FONT SIZE GRAVITY GEOMETRY FILL OUTLINE HALO LINE1 [LINE2]
# Full-frame 4-colour palette PNG: transparent, halo, outline, fill.
render_sub() {
    local out=$1 w=$2 h=$3 font=$4 size=$5 gravity=$6 geom=$7 fill=$8 outline=$9 halo=${10}
    local l1=${11} l2=${12:-}
    local mask=("$w" "$h" "$font" "$size" "$gravity" "$geom") name=${out#"$OUT"/}

    if [[ -z $l2 ]]; then
        text_mask "$WORK/fill.png" "${mask[@]}" 0 "$l1"
    else
        # Each line alone, the other one a space: ImageMagick places every line
        # by the font's ascent and descent, so the lines stay where they are in
        # the full text and the gap between their fills can be measured.
        local spacing=0 top2 bot1 gap
        text_mask "$WORK/line1.png" "${mask[@]}" 0 "$l1"$'\n'" "
        text_mask "$WORK/line2.png" "${mask[@]}" 0 " "$'\n'"$l2"
        read -r _ bot1 <<< "$(rows_of "$WORK/line1.png")"
        read -r top2 _ <<< "$(rows_of "$WORK/line2.png")"
        gap=$((top2 - bot1 - 1))
        if ((gap < LINE_GAP)); then
            # A whole-pixel interline spacing moves the first line up (south) or
            # the second down (north) by that many rows, glyphs unchanged.
            spacing=$((LINE_GAP - gap))
            cp "$WORK/line1.png" "$WORK/line1.0.png"
            cp "$WORK/line2.png" "$WORK/line2.0.png"
            text_mask "$WORK/line1.png" "${mask[@]}" "$spacing" "$l1"$'\n'" "
            text_mask "$WORK/line2.png" "${mask[@]}" "$spacing" " "$'\n'"$l2"
            read -r _ bot1 <<< "$(rows_of "$WORK/line1.png")"
            read -r top2 _ <<< "$(rows_of "$WORK/line2.png")"
            gap=$((top2 - bot1 - 1))
            local kept=2
            [[ $gravity == north* ]] && kept=1
            same_mask "$WORK/line$kept.0.png" "$WORK/line$kept.png" ||
                { echo "$name: line $kept moved when the lines were spaced apart" >&2; exit 1; }
            echo "$name: lines $spacing px further apart"
        fi
        ((gap >= LINE_GAP)) ||
            { echo "$name: only $gap empty fill rows between the lines, need $LINE_GAP" >&2; exit 1; }
        text_mask "$WORK/fill.png" "${mask[@]}" "$spacing" "$l1"$'\n'"$l2"
        # the measured lines must be exactly the picture's fill
        "$CONVERT" "$WORK/line1.png" "$WORK/line2.png" -compose lighten -composite "$WORK/lines.png"
        same_mask "$WORK/lines.png" "$WORK/fill.png" ||
            { echo "$name: the lines drawn alone differ from the two-line picture" >&2; exit 1; }
    fi
    "$CONVERT" "$WORK/fill.png" -morphology Dilate Disk:2 "$WORK/outline.png"
    "$CONVERT" "$WORK/outline.png" -morphology Dilate Square:1 "$WORK/halo.png"
    "$CONVERT" "$WORK/halo.png" -background "#$halo" -alpha shape \
        \( "$WORK/outline.png" -background "#$outline" -alpha shape \) -composite \
        \( "$WORK/fill.png" -background "#$fill" -alpha shape \) -composite \
        +dither -define png:exclude-chunks=date,time "PNG8:$out"

    # guard the class construction: exactly our four colours, background top-left
    local colours
    colours=$("$CONVERT" "$out" -format '%c' histogram:info: | grep -o '#[0-9A-F]\{8\}' | sort | tr '\n' ' ')
    local want
    want=$(printf '#%s\n' 00000000 "${fill}FF" "${outline}FF" "${halo}FF" | sort | tr '\n' ' ')
    [[ "$colours" == "$want" ]] || { echo "$name: colours '$colours', expected '$want'" >&2; exit 1; }
    [[ $("$CONVERT" "$out" -format '%[hex:p{0,0}]' info:) == 00000000 ]] ||
        { echo "$name: top-left pixel is not background" >&2; exit 1; }
}

# make_stream DISC N LANG W H FONT ITALIC_FONT SIZE FILL OUTLINE HALO BOTTOM TOP  < script
# Script lines: start_ms|stop_ms|place|italic|line1[|line2]
# Back-to-back pairs use durations that are multiples of 512 ms: the stop delay
# is counted in 1024/90000 s units, and any other length rounds so that the stop
# lands a few ms after the next start, which dvdauthor warns about.
# Draws the pictures, writes spumux_s<N>.xml and truth_s<N>.tsv.
make_stream() {
    local disc=$1 n=$2 lang=$3 w=$4 h=$5 font=$6 ifont=$7 size=$8 fill=$9 outline=${10} halo=${11}
    local bottom=${12} top=${13}
    local format
    format=$(standard_of "$disc")
    format=${format^^}
    local xml="$OUT/$disc/spumux_s$n.xml" truth="$OUT/$disc/truth_s$n.tsv"
    mkdir -p "$OUT/$disc/pics"

    {
        printf '# %s disc, subtitle stream %d (sub-stream id 0x%02x, language "%s")\n' "${disc^^}" "$n" $((0x1F + n)) "$lang"
        printf '# font %s, italic subtitles %s, %d px; drawn with ImageMagick +antialias,\n' \
            "$(basename "$font")" "$(basename "$ifont")" "$size"
        printf '# outline = 2 px dilation (Disk:2) of the fill, antialias = 1 px ring (Square:1) around that\n'
        printf '# PNGs are full %dx%d frames: PNG pixel (x,y) is screen pixel (x,y); pixels outside x1..x2,y1..y2 are background\n' "$w" "$h"
        printf '# x1,y1,x2,y2: display area on the disc (inclusive) = bounding box of the non-background\n'
        printf '#   pixels with x1,y1 rounded down to even and width, height rounded up to even (done by spumux)\n'
        printf '# start/stop: the times given to spumux (ms); PTS on disc = start + first video PTS of the VOB\n'
        printf '#   (see README.md); stop is carried as a delay in 1024/90000 s units, so it may be off by < 6 ms\n'
        printf 'colour\t%d\tbackground\t00000000\n' $BG_NUM
        printf 'colour\t%d\tantialias\t%sFF\n' $HALO_NUM "$halo"
        printf 'colour\t%d\toutline\t%sFF\n' $OUTLINE_NUM "$outline"
        printf 'colour\t%d\tfill\t%sFF\n' $FILL_NUM "$fill"
    } > "$truth"
    printf '<subpictures format="%s">\n <stream>\n' "$format" > "$xml"

    local idx=0 start stop place italic l1 l2
    while IFS='|' read -r start stop place italic l1 l2; do
        [[ -z "$start" || "$start" == \#* ]] && continue
        idx=$((idx + 1))
        local png
        png=$(printf '%s/pics/s%d_%02d.png' "$disc" "$n" "$idx")
        local gravity geom
        case $place in
            bottom)   gravity=south;     geom="+0+$bottom" ;;
            top)      gravity=north;     geom="+0+$top" ;;
            left)     gravity=southwest; geom="+64+$bottom" ;;
            topright) gravity=northeast; geom="+72+$top" ;;
            *) echo "unknown place $place" >&2; exit 1 ;;
        esac
        local f=$font
        [[ $italic == 1 ]] && f=$ifont
        render_sub "$OUT/$png" "$w" "$h" "$f" "$size" "$gravity" "$geom" "$fill" "$outline" "$halo" "$l1" "$l2"

        # display area as spumux writes it (found by experiment, checked below)
        local bw bh bx by
        IFS='x+' read -r bw bh bx by <<< "$("$CONVERT" "$OUT/$png" -format '%@' info:)"
        if ((bx < 16 || by < 16 || bx + bw > w - 16 || by + bh > h - 16)); then
            echo "$png: text too close to the frame edge (${bw}x${bh}+$bx+$by)" >&2; exit 1
        fi
        local x1=$((bx & ~1)) y1=$((by & ~1))
        local x2=$((x1 + ((bx + bw - x1 + 1) & ~1) - 1)) y2=$((y1 + ((by + bh - y1 + 1) & ~1) - 1))

        # FORCED lists the subtitles spumux marks with the forced start command.
        local force=""
        [[ " ${FORCED:-} " == *" $idx "* ]] && force=' force="yes"'
        printf '  <spu start="%s" end="%s" image="%s"%s/>\n' "$(ms_to_tc "$start")" "$(ms_to_tc "$stop")" "$png" "$force" >> "$xml"
        printf 'sub\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%d\t%s' "$idx" "$start" "$stop" "$x1" "$y1" "$x2" "$y2" \
            "$png" "$italic" "$l1" >> "$truth"
        [[ -n "$l2" ]] && printf '\t%s' "$l2" >> "$truth"
        printf '\n' >> "$truth"
        [[ -z "$force" ]] || printf 'forced\t%d\n' "$idx" >> "$truth"
    done
    printf ' </stream>\n</subpictures>\n' >> "$xml"
}

# make_disc DISC LANG1 [LANG2]: video + spumux per stream + dvdauthor
make_disc() {
    local disc=$1
    shift
    local std format size rate secs colour
    std=$(standard_of "$disc")
    format=${std^^}
    case $disc in
        pal)     size=720x576; rate=25;         secs=48; colour=0x1c2a3a ;;
        ntsc)    size=720x480; rate=30000/1001; secs=44; colour=0x2a2a1c ;;
        heldout) size=720x576; rate=25;         secs=13; colour=0x1c3a2a ;;
        fonts)   size=720x576; rate=25;         secs=13; colour=0x2a3a1c ;;
        forced)  size=720x576; rate=25;         secs=6;  colour=0x2a1c3a ;;
    esac
    export VIDEO_FORMAT=$format

    # Flat colour, no audio: the smallest stream dvdauthor takes.  Bit-exact so
    # reruns give the same bytes.
    ffmpeg -hide_banner -loglevel error -f lavfi -i "color=c=$colour:s=$size:r=$rate" -t "$secs" \
        -target "$std-dvd" -aspect 4:3 -an -fflags +bitexact -flags:v +bitexact -y "$WORK/$disc.mpg"

    local in="$WORK/$disc.mpg" i=0 lang
    local subs=""
    for lang in "$@"; do
        # spumux resolves image paths against the cwd; the XML names them relative to tests/data
        (cd "$OUT" && spumux -s "$i" "$disc/spumux_s$((i + 1)).xml") < "$in" > "$WORK/$disc.s$i.mpg" 2> "$WORK/spumux.log" ||
            { cat "$WORK/spumux.log" >&2; exit 1; }
        if grep -E '^(WARN|ERR)' "$WORK/spumux.log" >&2 || ! grep -q ' 0 subtitles skipped' "$WORK/spumux.log"; then
            echo "spumux complained on $disc stream $((i + 1))" >&2; exit 1
        fi
        in="$WORK/$disc.s$i.mpg"
        subs+="   <subpicture lang=\"$lang\"/>"$'\n'
        i=$((i + 1))
    done

    cat > "$WORK/$disc.xml" <<EOF
<dvdauthor dest="$WORK/$disc.dvd">
 <vmgm/>
 <titleset>
  <titles>
   <video format="$std" aspect="4:3"/>
$subs   <pgc>
    <vob file="$in"/>
   </pgc>
  </titles>
 </titleset>
</dvdauthor>
EOF
    dvdauthor -x "$WORK/$disc.xml" > "$WORK/dvdauthor.log" 2>&1 || { cat "$WORK/dvdauthor.log" >&2; exit 1; }
    if grep -E '^(WARN|ERR)' "$WORK/dvdauthor.log" >&2; then
        echo "dvdauthor complained on $disc" >&2; exit 1
    fi
    mv "$WORK/$disc.dvd/VIDEO_TS" "$OUT/$disc/VIDEO_TS"
}

# --- PAL: English (white on black) and French (yellow) -----------------------
if wanted pal; then
make_stream pal 1 en 720 576 "$DEJAVU/DejaVuSans-Bold.ttf" "$DEJAVU/DejaVuSans-BoldOblique.ttf" 30 \
    FFFFFF 000000 808080 48 40 <<'EOF'
1000|3200|bottom|0|Good evening, everyone.
3800|6800|bottom|0|The last train leaves at 9:45 -|don't miss it!
7360|9920|bottom|1|Somewhere far away,|a bell rang twice.
9920|11700|bottom|0|Who left the door open?
12500|16000|bottom|0|It wasn't me; I was in the garden|(with the dog, of course).
16600|19400|bottom|0|"Forty-two," she said. "Not 41."
20000|22560|top|0|ROOM 117 - 3rd FLOOR
22560|24100|bottom|0|Really? You're sure?
24700|28200|bottom|0|Well... it's 8.5 km from here,|or about 5 miles.
28900|30948|bottom|1|I'll be back by Tuesday.
30948|33600|bottom|0|A café crème for two, please.
34300|36400|left|0|[Thunder rumbles]
37000|39800|bottom|1|Ready? One, two, three - go!|(She doesn't move.)
40500|44000|bottom|0|That's all for today.|See you tomorrow at 10!
EOF
make_stream pal 2 fr 720 576 "$LIBERATION/LiberationSans-Bold.ttf" "$LIBERATION/LiberationSans-BoldItalic.ttf" 32 \
    FFFF00 000000 808080 48 40 <<'EOF'
1200|3400|bottom|0|Bonsoir à tous.
4000|7000|bottom|0|Le dernier train part à 21 h 45 -|ne le ratez pas !
7600|10160|bottom|0|Quelqu'un a laissé|la porte ouverte ?
10160|13600|bottom|0|Ce n'était pas moi ; j'étais au jardin|(avec le chien, bien sûr).
14300|16800|bottom|0|« Quarante-deux », dit-elle.
17400|19200|bottom|0|Où est passée la clé ? Déjà midi !
19800|22300|top|0|CHAMBRE 117 - 3e ÉTAGE
22900|24400|bottom|0|Vraiment ? Tu en es sûr ?
25000|28400|bottom|0|C'est à 8,5 km d'ici,|soit à peu près 5 miles.
29000|31560|bottom|0|Un café crème pour deux,|s'il vous plaît.
31560|34000|bottom|0|Ça coûte 12,50 € : c'est cher !
34600|36600|topright|0|[Tonnerre]
37200|39600|bottom|0|Ma sœur a le cœur brisé ;|elle pleure depuis Noël.
40200|42000|bottom|0|Où ça ? Là-bas, près de l'église.
42600|45800|bottom|0|C'est tout pour aujourd'hui.|À demain, à 10 h !
EOF
make_disc pal en fr
fi

# --- NTSC: German (white on dark blue) and Spanish ----------------------------
if wanted ntsc; then
make_stream ntsc 1 de 720 480 "$DEJAVU/DejaVuSerif-Bold.ttf" "$DEJAVU/DejaVuSerif-BoldItalic.ttf" 28 \
    FFFFFF 202060 9090A0 36 30 <<'EOF'
800|3000|bottom|0|Guten Abend, meine Damen und Herren.
3600|6400|bottom|0|Der letzte Zug fährt um 21:45 Uhr -|verpassen Sie ihn nicht!
7000|9048|bottom|0|Wer hat die Tür offen gelassen?
9048|12400|bottom|0|Ich war's nicht! Ich war im Garten|(mit dem Hund, natürlich).
13000|15400|bottom|1|Irgendwo läutete eine Glocke.
16000|18600|bottom|0|„Zweiundvierzig“, sagte sie.
19200|21400|top|0|ZIMMER 117 - 3. STOCK
22000|23500|bottom|0|Wirklich? Bist du sicher?
24100|27600|bottom|0|Es sind 8,5 km bis zur Straße,|also ungefähr 5 Meilen.
28200|30760|bottom|0|Größe, Übung, Ärger, Öl:|alles ganz normal.
30760|32600|bottom|1|Ich bin am Dienstag zurück.
33200|35000|left|0|[Donner grollt]
35600|38000|bottom|0|Fußball? Nein, danke; heute nicht.
38600|41800|bottom|0|Das ist alles für heute.|Bis morgen um 10!
EOF
make_stream ntsc 2 es 720 480 "$LIBERATION/LiberationSerif-Bold.ttf" "$LIBERATION/LiberationSerif-BoldItalic.ttf" 32 \
    FFFFFF 000000 707070 36 30 <<'EOF'
1000|3000|bottom|0|Buenas noches a todos.
3600|6160|bottom|0|¿Quién dejó la puerta abierta?
6160|9400|bottom|0|¡No fui yo! Estaba en el jardín|(con el perro, claro).
10000|12600|bottom|0|El último tren sale a las 21:45.
13200|15000|bottom|0|Mañana, señor Muñoz, a las 8.
15600|18000|bottom|0|«Cuarenta y dos», dijo ella.
18600|21000|top|0|HABITACIÓN 117 - 3.er PISO
21600|23100|bottom|0|¿De verdad? ¿Estás seguro?
23700|27000|bottom|0|Está a 8,5 km de aquí;|unas 5 millas.
27600|29800|topright|0|[Truenos]
30400|33000|bottom|0|¡Qué niño tan pequeño!|Sólo tiene 3 años.
33600|36000|bottom|0|Un café con leche, por favor.
36600|40000|bottom|0|Eso es todo por hoy.|¡Hasta mañana, a las 10!
EOF
make_disc ntsc de es
fi

# --- Held-out evaluation disc (PAL): the four styles of the sample streams -----
# Texts written for this disc before it was ever read by OCR, and never changed
# after a reading: it measures the shipped matrices, nothing is learned from it
# (see README.md, "Held-out disc").  Stream N starts 20 (N - 1) ms after stream 1,
# so no two sub-pictures share a time; #6 and #7 run back to back.
if wanted heldout; then
make_stream heldout 1 en 720 576 "$DEJAVU/DejaVuSans-Bold.ttf" "$DEJAVU/DejaVuSans-BoldOblique.ttf" 30 \
    FFFFFF 000000 808080 48 40 <<'EOF'
500|1300|bottom|0|Please close the window behind you.
1500|2300|bottom|0|The bus to Oxford was late again -|nobody knows why.
2500|3300|bottom|1|Listen... can you hear the rain?
3500|4300|bottom|0|We need 3 eggs, 250 g of flour|and a pinch of salt.
4500|5300|top|0|EXIT 24 - NORTH BRIDGE
5500|6524|bottom|0|"Quiet!" whispered the old man.
6524|7324|bottom|0|Jack's brother quit his job in May.
7524|8324|left|0|[Door slams]
8524|9324|bottom|1|Nobody expected the storm,|not even Grandpa.
9524|10324|bottom|0|Is it true? That's amazing!
10524|11324|bottom|0|Half past six; the museum closes at 7.
11524|12324|bottom|0|Thank you for watching.|Goodnight!
EOF
make_stream heldout 2 fr 720 576 "$LIBERATION/LiberationSans-Bold.ttf" "$LIBERATION/LiberationSans-BoldItalic.ttf" 32 \
    FFFF00 000000 808080 48 40 <<'EOF'
520|1320|bottom|0|Bienvenue à la maison.
1520|2320|bottom|0|Le musée ferme à 18 h 30,|dépêchez-vous !
2520|3320|bottom|0|Qui a mangé le gâteau ?
3520|4320|bottom|0|J'ai oublié mes clés chez Hélène.
4520|5320|top|0|SORTIE 24 - PONT DU NORD
5520|6544|bottom|0|« Silence ! » murmura le vieil homme.
6544|7344|bottom|0|Il fait froid ; mets ton manteau.
7544|8344|topright|0|[Porte qui claque]
8544|9344|bottom|0|Personne n'avait prévu l'orage,|pas même grand-père.
9544|10344|bottom|0|C'est vrai ? Quelle histoire !
10544|11344|bottom|0|Il faut 3 œufs et 250 g de farine.
11544|12344|bottom|0|Merci d'avoir regardé.|Bonne nuit !
EOF
make_stream heldout 3 de 720 576 "$DEJAVU/DejaVuSerif-Bold.ttf" "$DEJAVU/DejaVuSerif-BoldItalic.ttf" 28 \
    FFFFFF 202060 9090A0 48 40 <<'EOF'
540|1340|bottom|0|Bitte schließen Sie das Fenster.
1540|2340|bottom|0|Der Bus nach Köln hatte wieder|Verspätung - keiner weiß, warum.
2540|3340|bottom|1|Hörst du den Regen?
3540|4340|bottom|0|Wir brauchen 3 Eier und 250 g Mehl.
4540|5340|top|0|AUSGANG 24 - NORDBRÜCKE
5540|6564|bottom|0|„Ruhe!“, flüsterte der alte Mann.
6564|7364|bottom|0|Jürgen kündigte im Mai seine Stelle.
7564|8364|left|0|[Tür knallt]
8564|9364|bottom|1|Niemand hatte das Gewitter|erwartet, nicht einmal Opa.
9564|10364|bottom|0|Ist das wahr? Wie schön!
10564|11364|bottom|0|Das Museum schließt um 19 Uhr.
11564|12364|bottom|0|Danke fürs Zuschauen.|Gute Nacht!
EOF
make_stream heldout 4 es 720 576 "$LIBERATION/LiberationSerif-Bold.ttf" "$LIBERATION/LiberationSerif-BoldItalic.ttf" 32 \
    FFFFFF 000000 707070 48 40 <<'EOF'
560|1360|bottom|0|Bienvenidos a casa.
1560|2360|bottom|0|El autobús a Sevilla llegó tarde|otra vez; nadie sabe por qué.
2560|3360|bottom|0|¿Oyes la lluvia en el tejado?
3560|4360|bottom|0|Necesitamos 3 huevos y 250 g de harina.
4560|5360|top|0|SALIDA 24 - PUENTE NORTE
5560|6584|bottom|0|«¡Silencio!», susurró el anciano.
6584|7384|bottom|0|Julián dejó su trabajo en mayo.
7584|8384|topright|0|[Portazo]
8584|9384|bottom|0|Nadie esperaba la tormenta,|ni siquiera el abuelo.
9584|10384|bottom|0|¿Es verdad? ¡Qué maravilla!
10584|11384|bottom|0|El museo cierra a las 19:30.
11584|12384|bottom|0|Gracias por su atención.|¡Buenas noches!
EOF
make_disc heldout en fr de es
fi

# --- Untaught fonts (PAL): a serif and an italic no matrix or training disc knows ---
# Drawn exactly as the held-out disc (same colours, places and timing); no
# shipped matrix reads these fonts, so they measure reading a disc whose font
# is new.  Texts written for this disc before it was ever read, never changed
# after a reading.  Every subtitle of stream 2 is italic.
if wanted fonts; then
make_stream fonts 1 fr 720 576 "$URW/C059-Roman.otf" "$URW/C059-Italic.otf" 32 \
    FFFFFF 000000 808080 48 40 <<'EOF'
500|1300|bottom|0|Il pleut depuis ce matin.
1500|2300|bottom|0|Tu as vu l'heure ? Le film|commence dans dix minutes.
2500|3300|bottom|0|« Attends-moi », cria Julie.
3500|4300|bottom|0|Nous avons 2 billets pour 20 h 15.
4500|5300|top|0|GARE DE LYON - QUAI 7
5500|6524|bottom|0|Elle a lu toutes les lettres.
6524|7324|bottom|0|Où sont mes lunettes ? Là, sur la table.
7524|8324|topright|0|[Musique douce]
8524|9324|bottom|0|L'été dernier, il faisait si chaud|qu'on dormait dehors.
9524|10324|bottom|0|Ça fait 45,90 € en tout.
10524|11324|bottom|0|Le cœur a ses raisons...
11524|12324|bottom|0|Bonne chance, mon ami.|À bientôt !
EOF
make_stream fonts 2 en 720 576 "$URW/NimbusSans-Italic.otf" "$URW/NimbusSans-Italic.otf" 30 \
    FFFFFF 000000 808080 48 40 <<'EOF'
520|1320|bottom|1|Where did you put the keys?
1520|2320|bottom|1|I told him twice: don't call|after 11 o'clock.
2520|3320|bottom|1|"Look out!" shouted Ellen.
3520|4320|bottom|1|It's only 15 minutes by taxi, maybe 20.
4520|5320|top|1|GATE 12 - DEPARTURES
5520|6544|bottom|1|Little Billy left his wallet at the hotel.
6544|7344|bottom|1|We'll fly to Lisbon in April.
7544|8344|left|1|[Phone buzzing]
8544|9344|bottom|1|Honestly, I thought it was a joke,|but it wasn't.
9544|10344|bottom|1|The tickets cost $48.50 each.
10544|11344|bottom|1|Follow the yellow signs - all of them.
11544|12344|bottom|1|Take care of yourself.|Bye for now!
EOF
make_disc fonts fr en
fi

# --- Forced subtitles (PAL): a film's foreign-language lines among the others ---
if wanted forced; then
FORCED="2 4" make_stream forced 1 en 720 576 "$DEJAVU/DejaVuSans-Bold.ttf" "$DEJAVU/DejaVuSans-BoldOblique.ttf" 30 \
    FFFFFF 000000 808080 48 40 <<'EOF'
500|1500|bottom|0|Where are we going?
1700|2700|bottom|0|[In Spanish] Follow me.
2900|3900|bottom|0|I don't understand him.
4100|5100|top|0|[In Spanish] To the station!
EOF
make_disc forced en
fi

# Read the discs back and compare with the truth files, pixel for pixel.
if command -v python3 >/dev/null; then
    for t in $(for d in $discs; do echo "$OUT/$d"/truth_s*.tsv; done); do
        t=${t#"$OUT"/} n=${t##*truth_s}
        (cd "$OUT" && python3 "$DATA/tools/spu_probe.py" check "${t%%/*}/VIDEO_TS/VTS_01_1.VOB" "$t" "${n%.tsv}" .)
    done
else
    echo "make_discs.sh: python3 not found, skipped the read-back check" >&2
fi

for d in $discs; do
    rm -rf "${DATA:?}/$d"
    cp -r "$OUT/$d" "$DATA/"
done
