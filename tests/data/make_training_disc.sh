#!/usr/bin/env bash
# Regenerates the OCR training disc under tests/data/train: a PAL VIDEO_TS with
# eight subtitle streams, two per font of the sample discs: streams 1-4 show every
# character of the learned set alone in a grid cell (tools/train_grid.py draws
# them and writes the truth with one `cell` line per character), streams 5-8 show
# running text drawn like the sample discs' subtitles (tools/train_text.py).
# Video, spumux and dvdauthor steps are the ones make_discs.sh uses for the PAL
# sample disc.
# Needs: ffmpeg dvdauthor imagemagick fonts-dejavu-core fonts-liberation python3.
set -euo pipefail

DATA=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d)
trap '[[ -n "${KEEP_WORK:-}" ]] || rm -rf "$WORK"' EXIT

for tool in ffmpeg spumux dvdauthor python3; do
    command -v "$tool" >/dev/null || { echo "make_training_disc.sh: $tool not found" >&2; exit 1; }
done

DEJAVU=/usr/share/fonts/truetype/dejavu
LIBERATION=/usr/share/fonts/truetype/liberation
OUT=$DATA/train

rm -rf "$OUT"
mkdir -p "$OUT/pics"

# Streams 1-4: one per sample stream (pal s1, pal s2, ntsc s1, ntsc s2), same
# font, size and colours, every character alone in a grid cell; italic font only
# where that stream has italics.  Streams 5-8: the same four styles again, in
# running text (tools/train_text.py), for the glyphs that touching or overlapping
# neighbours make.  Starts: grid stream N at 400 + 20N ms, one every 1240 ms; text
# stream N at 410 + 20N ms, one every 440 ms: all distinct, so no two SPUs share a PTS.
#          N lang font                                 italic font                              size fill   outline halo
streams=(
    "1 en $DEJAVU/DejaVuSans-Bold.ttf           $DEJAVU/DejaVuSans-BoldOblique.ttf  30 FFFFFF 000000 808080"
    "2 fr $LIBERATION/LiberationSans-Bold.ttf   -                                   32 FFFF00 000000 808080"
    "3 de $DEJAVU/DejaVuSerif-Bold.ttf          $DEJAVU/DejaVuSerif-BoldItalic.ttf  28 FFFFFF 202060 9090A0"
    "4 es $LIBERATION/LiberationSerif-Bold.ttf  -                                   32 FFFFFF 000000 707070"
    "5 en $DEJAVU/DejaVuSans-Bold.ttf           $DEJAVU/DejaVuSans-BoldOblique.ttf  30 FFFFFF 000000 808080"
    "6 fr $LIBERATION/LiberationSans-Bold.ttf   -                                   32 FFFF00 000000 808080"
    "7 de $DEJAVU/DejaVuSerif-Bold.ttf          $DEJAVU/DejaVuSerif-BoldItalic.ttf  28 FFFFFF 202060 9090A0"
    "8 es $LIBERATION/LiberationSerif-Bold.ttf  -                                   32 FFFFFF 000000 707070"
)

# Running text of streams 5-8, one subtitle a line: italic|line 1[|line 2].  Own
# sentences (none from the sample discs), chosen for common letter pairs of each
# language, pangrams, punctuation, digits, capitals-only signs and accented letters.
# #46-64 of each stream: 7 capitals-only signs or shouts with an accent above a
# capital on every line (it sets the line top, so the plain capitals and digits sit
# lower in their line than anywhere else), then 12 subtitles for the commonest runs
# of touching letters in that font that the first 45 lacked.  From #65: lines of
# words from the language's Debian word list (as listed, Capitalised or in capitals)
# and numbers, picked so that the letter pairs that join in the stream's styles,
# weighted by how many words hold them, are nearly all on the disc (README).
cat > "$WORK/text_5.txt" <<'EOF'
0|Okay, listen. Take the empty boxes|to the truck by the back gate.
0|Tell Kevin to keep his phone on;|we're leaving after lunch.
1|Forget what happened. Don't worry;|the doctor says you're ready.
0|Very good, Tyler! Now copy it|fifty times, nicely and neatly.
0|ATTENTION: PARTY AT THE LAWYER'S|HOUSE, SATURDAY AFTER EIGHT
1|Frankly, my dear, I'd rather stay|home, have a coffee and read.
0|Wait on the Avenue; I'll be there|in five minutes, okay?
0|Yes, Kate. Ask your father if,|by any chance, we can borrow his van.
1|Stop it, Fred! You're scaring|the kids. Take a deep breath.
0|The sky was dark, but the beach|was empty and perfectly quiet.
0|VALERIE, COME BACK! IT'S NOT SAFE!
1|Did you think it was fair? Tell me|honestly, Anna, as a friend.
0|Those two are getting married in May.|Can you believe it?
0|After the fight he slept for twelve|hours. No doubt about it.
1|Six extra tickets, please.|Expect a crowd of forty people.
0|My uncle Stanley drives a yellow taxi|through the busiest streets of Tokyo.
0|[Glass shatters in the kitchen]
1|Quiet! They're coming up the stairs.|Hide behind the curtain.
0|Jackdaws love my big sphinx of quartz.
0|How vexingly quick daft zebras jump!
1|Pack my box with five dozen|liquor jugs, said the farmer.
0|Please don't be angry with me.|I was just nervous.
0|Twenty-one years ago, I arrived here|with nothing but a suitcase.
1|The five boxing wizards jump quickly|over the little gym fence.
0|Who's the tall guy in the grey coat?|He looks familiar.
0|Keep your voice down, Tom. The baby|is finally asleep.
1|Today is my birthday, and nobody|remembered. Typical!
0|NO PARKING - TOW-AWAY ZONE|STAFF AND DELIVERY ONLY
0|Where were you last Friday night?|Think carefully.
1|Promise me one thing, then:|don't ever turn your back on me.
0|Sorry, we're closed. Come back at 7.|Vacation starts on Monday.
0|Look at the map: the river runs east,|and the road follows it to the coast.
1|Hurry, or we'll miss the ferry!|It sails at 6:15 sharp.
0|Everything's 50% off at Smith & Sons|until Sunday, the 2nd of July.
0|Attack! Stay low, keep moving,|and don't stop for anything.
1|I've told you a hundred times:|don't give your address to strangers.
0|She's a doctor, not a magician.|Give her a break.
0|[Sirens wailing]
1|Friday, 8 p.m., at the dark park.|Watch out, and don't be late.
0|What's wrong? You look pale.|Are you feeling okay?
0|Thanks to you, the project worked|perfectly. We owe you one.
1|Thanks for the flowers, Kyle;|they're really special.
0|Her fiancée seemed naïve,|but she knew exactly what to do.
0|It's 9:30 already? I have to go!|See you around.
1|Well, goodbye, my friend. Take care|of yourself, and have fun.
0|CAFÉ ROYAL BOUTIQUE - OPEN 7 DAYS|CRÊPES & SOUFFLÉS FROM 6:30 A.M.
0|WELCOME TO SÃO PAULO!|GATE 29, TERMINAL 4 - DÉPART 18:35
1|VIP PIÑATA PARTY, ROOM 217 - 3 P.M.|KIDS EAT FREE: JALAPEÑO TACOS!
0|NO ENTRÉE AFTER 10 P.M. BY ORDER|OF THE MAYOR - RÉCEPTION: EXIT 2
1|HELP! THE FIANCÉE VANISHED!|SHE TOOK A TAXI TO ZÜRICH AT 5:40!
0|MUSÉE D'ART MODERNE, 1897-1956|QUIET! WEST WING CAFÉ, LEVEL 4
0|WAX JAZZ CAFÉ: CRÈME BRÛLÉE $8|QUÉBEC GIG ON THE PATIO, JUNE 16
0|Obviously, Kowalski won't object.|He'll enjoy the awkward silence.
1|Why did you hide it from me, Peter?|I knew it. I didn't expect this.
0|Afraid? Don't be. The background|check will justify the rejection.
1|What's the story? Tomorrow, the party|starts at eight; bring extra supplies.
1|Wait, Fay: try the third door,|then turn right. It's upstairs.
1|I'm sorry, Father. I got married|in secret, just before the trial.
1|Hey, wait: the girl in the street|says she has the keys to the car.
1|Yes, I realize it's often true,|but after ten years, I trust myself.
1|Start the search, William; the world|is waiting, and it gets worse every day.
1|Much better, Robert! The recipe|was excellent, except for the salt.
1|No way! Is it empty? I swear|I left a gift for you inside.
1|Good, then help me open the map:|the road is right there, man, see?
# From #65: words of /usr/share/dict/american-english (wamerican) and numbers, for the pairs that join
1|RATE NATIVE MACAO HATS TRULY|BAKE 2/1 SAGAN TEXTUAL WANDA
0|BRA FAVOR GOV ALT BOAT KAY|CARVE ANDY SKY NEXT KOCH Vol
1|WITTY PIZZA WEEKS Verb FAULT|WHOA Try Idle Uzi 3/2 axe TWO
1|VODKA Fuzzy yip ATLAS Edge ETC|Kafka yak Lynx Via 4/3 BOYS Tux
1|KNOWN AYE YAK Tie Woe BOXEN|rhythm Feb Val Sky YIP 5/4
0|Gecko ELVES Yak EXAM ADJ Lyly|PAAR CAJUN Perjury IVY AWKWARD
1|SYNONYM Cycle Kid WRINKLED|Defy HYPE COWS zoo Byron
1|Batman tbsp YOU 6/5 LYLY|Keyboard Refs Hydrogen Ritz If's
1|Fitness KOCH Admin Input Vol|HTML 7/6 Exam EXPAND Gecko
0|Thankful Desktop Fuji ALWAYS|PROXY OJIBWA Helpful PERJURY Tsp
1|NIXON CYCLE ELVES BOWL Ftp|BYRON GEEZ Ups khan Enjoy 8/7
1|RITZ KIKUYU Adj Oxygen Wrap Two|TBSP UZI KHAN EXCL xor BYTE
1|Knew 9/8 FITNESS dpi BOYD Yak|Buddha Puzzle Obj eject EXAM
0|DESKTOP Axe Aye Xerox Obfuscate|Marx Rye Xxi XVI SAVVY Djibouti
1|OUTFIT KRAFT MAYBE FTP m/s Ivy|ENJOY ADJ TUX Koch Cajun Width
1|Broadcast Epoch FRANZ Prakrit|CROWD Buy 10/9 Myth EJECT PAAR
0|Kyle Straitjackets Hammarskjold|Ltd Ojibwa VT Kwakiutl Chukchi Xvi
1|Exhaust Ltd VULCAN OBJ Workman|Anyhow Rutgers COWBOY OXYGEN
1|Yum km/h CAJUN Pseudo Fiji|Perjury Kraft Torque Hakka IVY
1|Project XHOSA FIJI HAWK Desktop|6,000 Kurt Fuji Checkpoint Python
0|HAMMARSKJOLD STRAITJACKETS|LJUBLJANA Tc Mahjong CHUKCHI pj's
1|HAKKA LTD WORKMAN Viewpoint|Khan Cookbook ANYHOW OJIBWA
1|RUTGERS Weekday 7,000 CVS FUJI|LYNX PERJURY Klein Vulcan Pkg Tsp
1|GROWTH Analyze THANKFUL|Lawyer DESKTOP 8,000 Toothpaste
0|Skyjack
1|AWFUL Exxon BOWMAN Kalmyk|BOYFRIEND Aye
EOF
cat > "$WORK/text_6.txt" <<'EOF'
0|Salut, Valérie ! Tu as bien dormi ?|Avec ce bruit, moi, pas du tout.
0|Portez ce vieux whisky|au juge blond qui fume.
0|Je t'attends devant la gare|depuis une heure déjà.
0|Qu'est-ce que vous faites là, Monsieur ?|Taisez-vous et avancez.
0|Voyez le brick géant|que j'examine près du wharf.
0|Il faut partir, et tout de suite :|la tempête approche.
0|Mon frère travaille à l'hôpital ;|il connaît tout le monde.
0|AVIS AUX VOYAGEURS :|LE PARKING SERA FERMÉ
0|Pourquoi ferait-on une chose pareille ?
0|Elle a acheté 3 pommes, 12 œufs|et une baguette pour 4 €.
0|« Dépêchez-vous ! » cria l'agent.|« Nous manquons de temps. »
0|Je ne suis pas fâché,|juste un peu fatigué.
0|[Le téléphone sonne]|Allô ? Oui, c'est bien moi.
0|Écoute : quoi qu'il arrive,|restez ensemble.
0|Où se trouve la poste ?|Tout droit, puis à gauche.
0|La réunion commence à 14 h 30|dans la grande salle.
0|SORTIE UNIQUEMENT - ENTRÉE INTERDITE
0|L'œil déçu mais l'âme plutôt naïve,|Louÿs rêva de crapaüter en canoë
0|au-delà des îles, près du mälström|où brûlent les novæ.
0|Je n'ai jamais dit ça, Victor.|Tenez, relisez la lettre.
0|Franchement, tu devrais ajouter|un mot d'excuse pour ta mère.
0|Vite ! Prends un taxi et suis-moi,|je t'expliquerai plus tard.
0|Quelle belle matinée ;|allons marcher près du fleuve.
0|Merci pour tout, et bonjour|à ta famille de ma part.
0|Qui est là ? Montrez-vous !|Venez par ici, lentement.
0|[Une fenêtre grince]
0|Ma grand-mère est née en 1938,|juste avant la guerre.
0|Où as-tu mis mes lunettes ?
0|Zéro, un, deux... attends,|je compte les cartons.
0|Tu plaisantes ! Pas encore...
0|L'examen était très difficile :|seuls 6 sur 40 ont réussi.
0|Ça m'est égal, fais comme tu veux.
0|POLICE ! Ouvrez immédiatement !|Les mains en l'air, tous les deux.
0|C'était la meilleure fête de l'année ;|c'est moi qui paye, ce soir !
0|Il y a 50 % de réduction|sur toutes les chaussures.
0|Incroyable... c'est exactement|ce que je voulais !
0|As-tu déjà piloté un avion ?|Non, jamais.
0|Un instant ; je dois réserver|une table pour le dîner.
0|Son fiancé est un peu naïf,|mais il est très gentil.
0|Le bœuf bourguignon est prêt :|à table, les enfants !
0|Tu as vu Jacques, ce matin ?|À mon avis, il est déjà parti.
0|Ils ont vécu à Genève, puis à Zürich.
0|Les vœux du maire : une œuvre|d'art pour chaque quartier.
0|BIENVENUE À L'HÔTEL DES ÎLES
0|Fin ? Peut-être. Peut-être pas.
0|ATTENTION ! ÉCOLE À 200 M|ZONE 30 - VÉLOS : SOYEZ PRUDENTS
0|HÔTEL DU QUAI - CHAMBRES 14 À 19|PETIT-DÉJEUNER : 7 H - 10 H 30
0|FERMÉ LE DIMANCHE ET JOURS FÉRIÉS|TÉL. : 04 76 58 93 21
0|GARE DE LYON - TGV 8742 POUR GENÈVE|QUAI 6, WAGON 12 : DÉPART RETARDÉ
0|TRAVAUX - DÉVIATION PAR LE PORT|PÊCHE ET KAYAK INTERDITS : 68 €
0|À VENDRE : VÉLO, WOK, CHAÎNE HI-FI|PRIX À DÉBATTRE - WEEK-END À 15 H
0|ZOO : ENTRÉE ADULTE 14 €, ENFANT 7 €|TAXE INCLUSE, VALABLE JUSQU'À 19 H
0|S'il te plaît, reste avec moi ;|il paraît que c'est dangereux.
0|Type sérieux, ce M. Tchang.|Il connaît toute la chaîne de Lyon.
0|Tu as vu Yann ? Il est parti (vite)|avec Yvette, le chien et les valises.
0|Henry Wagner, de Kyoto, m'a écrit :|« Wow ! Ma fraîche cousine arrive. »
0|Je suis ton maître (enfin, presque) ;|tu dois m'obéir, jeune homme.
0|Entre les deux (heureux) amoureux,|le courant passait à merveille.
0|La boîte est là (voir la photo),|sous le tapis. Ça te plaît ?
0|Je t'aime (oui, mon cœur), et je le dis|à tout le monde (sauf à papa).
0|Sa plaque ? Un W, un F, un P, un V,|un T, puis 7 et 4. Yves, tu traînes !
0|M. T. Yelles ? (Je vérifie.) Non,|rien au nom de Yelles, ni de V. Faure.
0|Il a juré (jamais, au grand jamais)|qu'il partirait à Hawaï avec Xavier.
0|On part aux Canaries (Îles Fortunées) ;|ton frère Walid vient aussi, avec Kim.
# From #65: words of /usr/share/dict/french (wfrench) and numbers, for the pairs that join
0|BOÎTE THAÏ PARANOÏA ABÎMÉS DÎNE|CALVADOS KAWI Oxyda RAFRAÎCHIR
0|Forjet Yougoslave rît HAÏTIEN SATÎ|HAÏS ALTAÏQUES 4/1 RÎT VÎT ASSÎT
0|POLÎT Ayez Marxien LAÏC FÎT DOUCÎT|TAPÎT Tweed OUÏGOUR Tsar Xylol
0|Weber Darwinien
EOF
cat > "$WORK/text_7.txt" <<'EOF'
0|Hallo? Ist jemand zu Hause?|Karl, bist du das?
0|Victor jagt zwölf Boxkämpfer quer|über den großen Sylter Deich.
1|Frag nicht, warum. Sei einfach still,|wir sind gleich da.
0|Wir müssen sofort los - trink aus!|Das Gewitter kommt näher.
0|Falsches Üben von Xylophonmusik|quält jeden größeren Zwerg.
1|Vorher trinken wir einen Kaffee;|danach arbeiten wir weiter.
0|Jetzt ist es zu spät; die Fähre|ist längst weg.
0|WARNUNG: HOCHSPANNUNG|LEBENSGEFAHR!
1|Mach bitte das Fenster zu;|es ist furchtbar kalt draußen.
0|Könnten Sie mir bitte das Salz reichen?|Vielen Dank, sehr freundlich.
0|Sie warten schon seit Stunden...|niemand hat ihnen etwas gesagt.
1|Hilfe! Er ist vom Dach gefallen!|Ruft sofort einen Arzt!
0|Franz jagt im komplett verwahrlosten|Taxi quer durch Bayern.
0|Warum sollte jemand so etwas tun,|und wozu? Das ergibt keinen Sinn.
1|Ich freue mich so für dich, Franz.|Das hast du dir ehrlich verdient.
0|[Telefon klingelt]|Vogel, hallo? Wer spricht da, bitte?
0|„Beeilt euch!“, rief der Polizist.|„Uns läuft die Zeit davon.“
1|Ist das wahr? Du fliegst nach Rom?|Wie schön, da wäre ich gern dabei!
0|Die Besprechung beginnt um 14:30|im Konferenzraum, nicht im Büro.
0|NUR AUSGANG - KEIN EINGANG
1|Träum was Schönes, mein Schatz.|Schlaf gut, bis später.
0|Vielen Dank für alles, Herr Doktor.|Auf Wiedersehen!
0|Meine Großmutter wurde 1938 geboren,|kurz vor dem Krieg.
1|VORSICHT: FRISCH GESTRICHEN!|BITTE NICHT BERÜHREN - DANKE
0|Null, eins, zwei... Moment,|ich zähle die Kisten.
0|Die Prüfung war extrem schwer:|nur 6 von 40 haben bestanden.
1|Weißt du, wo meine Schlüssel sind?|Ich finde sie nirgends.
0|POLIZEI! Sofort aufmachen!|Hände hoch, keine Bewegung!
0|Das war die beste Party des Jahres.|Alle haben getanzt, sogar Opa.
1|Kein Problem; ich helfe dir gern,|wenn du mir dafür etwas kochst.
0|Bist du schon einmal geflogen?|Nein, noch nie. Ich bin nervös.
0|Jörg und Käthe wohnen jetzt|in Köln, nicht mehr in Düsseldorf.
1|Sie kaufte 3 Äpfel, 12 Eier|und Brot für 4 €, mehr nicht.
0|Übrigens: Das weiß ich noch nicht.|Frag Tante Vera, die kennt sich aus.
0|ÖFFNUNGSZEITEN:|MONTAG BIS FREITAG
1|Es gibt 50 % Rabatt auf alle Schuhe.|Nur diese Woche? Dann los, Papa!
0|Quäle nie ein Tier zum Scherz,|denn es fühlt wie du den Schmerz.
0|Die Kinder spielen im Park, während|der Vater in der Küche kocht.
1|Der Spaß hört auf, wenn's gefährlich wird.|Das darf nie wieder passieren.
0|Kommst du mit ins Kino? Wir können|auch zu Hause einen Film schauen.
0|Vergiss nicht, das Fenster zu öffnen!|Hier drin ist es viel zu warm.
1|Einen Augenblick; ich prüfe den Fahrplan.|Das Schiff legt um 14:30 ab.
0|Um halb 10 treffen wir uns am Markt;|ich will noch Obst kaufen.
0|Kinder, zieht euch warm an! Draußen|sind es minus 5 Grad.
1|Ende? Vielleicht. Vielleicht auch|nicht. Wer weiß das schon?
0|BAUSTELLE - ÜBERHOLVERBOT!|ÖFFNUNGSZEITEN: MO-FR 7:30-18:45
0|GLEIS 9: SYLT-EXPRESS ÜBER KIEL|ABFAHRT 14:26, 15 MIN VERSPÄTUNG
1|KEIN ZUTRITT FÜR UNBEFUGTE!|BETRETEN DES GELÄNDES VERBOTEN
0|KÄSE UND PAPRIKA: 2,45 € STATT 3,90 €|GÜLTIG BIS 8. JULI
1|HERZLICH WILLKOMMEN IN KÖLN!|TAXIS: AUSGANG SÜD, 200 M WEITER
0|BÄCKEREI XAVER, QUALITÄT SEIT 1876|QUARKKUCHEN JE STÜCK NUR 0,90 €
0|RAUCHVERBOT IN BAYERNS ZÜGEN!|BUSSGELD FÜR JEDEN FAHRGAST: 35 €
0|Das war falsch, Wolfgang: keine Antwort,|kein Anruf. Wir hatten Angst um dich.
0|Klaus findet den Kuchen köstlich;|er fährt morgen zu seiner Tante.
0|Keine Sorge, Oliver. Ich verwende|links den Knopf, wie du gesagt hast.
0|Würdest du mir bitte helfen, Uwe?|Dieser Typ an der Treppe ist schwierig.
0|Tu das nicht! Die Tochter ist krank;|sie braucht Ruhe. Ein Foto? Gern, bitte.
1|Komm, Tante Hanna! Kaffee ist fertig.|Und Onkel Jo trägt die große Torte.
1|Was ist los, Jens? Erst sagst du ja,|jetzt willst du nichts mehr davon wissen.
1|Verzeihung, Herr Kaiser; ich habe|Ihren Wagen wirklich nicht gesehen.
1|Unsere Zeit ist knapp! Die Kinder|dürfen mit; wir erwarten euch um acht.
1|Die Polizei hat das Geld gefunden,|im Zimmer über der Post. Zufrieden?
1|Peter ist nervös, er fürchtet den Tod.|Seine Freundschaft ist mir viel wert.
1|Ich habe das Gefühl, dass uns jemand|verfolgt. Schließ die Tür ab, Holger!
# From #65: words of /usr/share/dict/ngerman (wngerman) and numbers, for the pairs that join
1|DIESEM TRANSAKTIONEN ESSIG|FEHL LAUFT 2/1 SPITZE HIRN
0|HAUT WECKT LUFT KRUMM WIE|KLUG KOCH RÄUBER TUE Aufs
1|BAHAMAS ZURÜCK ANNA PAPRIKA|RUMPF HOL 3/2 PEDRO
0|GLÜHWÜRMCHEN HÄLT WERWOLF|KÜSTE KEKS DÜNN knie Anwalt kick
1|WOHNZIMMER FORMATS ZAGREB|SCHMIDT WARF FAUL BUCHS TOP
0|FÄHIG GÜTE SUD WÄRE KNIE WUT|Investor HAUPT TORVALDS LUKE
1|4/3 PFIFFE NFS KRÄHE BEKLOPPT|GIB STÄRKSTE ÜBERDAUERT GLAUB
0|KUH würde Fünfzig 4,1 kühl Physik|CRUZ Aufbau Kuwait HAAR Dankbar
1|5/4 GEPFLANZT URL VIA|ERHÄLTLICH SKIZZE IRRTUMS HÖR
0|Synonym UWE Wut GUIDO Wertvolle|fördern Calvin KÖLN Rückgrat
1|Übt Aufs 6/5 MÜSLI USB OBSZÖN|Ums UPLOAD GÜNTHER DEZ
0|Umweg WÖLFE Akzent Lkw Aufwand|Kafka PRÜFE DANKBAR SÜD Aufhält
1|BAHNHOF MÄNNLICH 7/6 Ausflug|SEELENRUHE ODE SMTP TÖDLICH
1|KNEIPE OZEAN EXT RPM 8/8|WÜTEND FÄHIG LÜGNER Aufgabe
0|DÜMMER Zuvor Marokko LKW|AKZENT Wäre RÜCKGRAT FAX
1|HTML SRI Größe Zwölf SUD 9/9|AUSFÜLLEN PHYSIK WÄRE
0|Frankfurt BILLY HÜPFT AUFWAND|HYÄNE Aufpassen Hydra KHAN
1|Fortfahren JAVA WUT Klo Säße TeX|m/s ZOMBIE LUKE ANM Floh Käfer
0|Benjamin MAULWURF Urlaub ZUVOR|Krankheit FRANKFURT Soja QUOTA
1|KOSTBAR synonym SÄT ENTGEGEN|0,62 Kuh SHRIMPS Fix Fünfzig Ext
0|Objekt Advokat Denkmal Tür Bejaht|Byte BENJAMIN Denkvermögen SOJA
1|OKT AUFGABE CRUZ QUAL System|6,63 NÄHE öffne GEWÖHNT IHM
0|Psychisch Löschvorgang Syrien|DENKMAL 4/1 Derjenige KDE
1|DNS Aufbau AUFZÄHLEN ANPASSEN|JOSCHKA 7,64 GENAUIGKEIT Typ
0|OBJEKT Knopfdruck Eva Töne|Fördern Parkplatz Zyklus Jury Ulla
1|GÄB NACHBAR HAAR DURCHGANG|ENTFERNE UWE Wut 68 BÄR KÄME
1|AMD ÖFFNE KGB fördern Abfrage|Tim Umfang MIXE 72 Jungfrau
0|BEJAHT Anekdoten Rendezvous|DENKVERMÖGEN PARKPLATZ
1|GEDÄCHTNIS Süß Pfad SECHZIG Std|DUMMKÖPFE BUDDHA LINDBERGH
0|DERJENIGE JURY Major HAWAII|Linux Maya Dasjenige QUÄLT MAJOR
1|Aufwand 73 Zahl AUFBAU Kafka|PRÜFE ZDF OpenBSD SPÄT OBJEKT
0|Polygon DASJENIGE LINUX Wölfe|Programmversion MAYA VAKUUM
1|Durchfall 74 Tue Jan SYNONYM|ENTKOMMEN DANKBAR FÖRDERN
0|Vögel Fuji Halbvoll Marx NEWS|VÄTER Keyboard News Nachjagen
1|TYP Billy NUTZBAR Aufhält 78|EXPORT MRD UMFANG DÜMMER
0|WHISKY Privatjet FUJI Flugverkehr|Tschad Ute Whisky PROXY Download
1|Archivs PKW Hör STD BOSNIEN|AKZENT 10/1 Wäre Theo Kühe
0|Uhr Stückchen STÜCKCHEN Usw|MARX Proxy Vulgär Dummy
1|Frankfurt City Rundfunk KAFKA|ASCII JÄGER UMHER 1902 HÜPFT
1|Hält Aufmacht DURCHFALL|Aufpassen Hydra Oft ACER Van
0|NACHJAGEN PRIVATJET Newton|Layout DOWNLOAD Schuljunge
1|Würde 1903 KHAN Benjamin|MAROKKO Zog Idee DOGMA
0|Dreißigjährig m/s Axel Väter Sowjets|Großvater Adjutant SCHULJUNGE
1|EDMUND Urlaub AUFHÄLT|NACHHER 1904 PRIMZAHL
0|Dreijähriger Avocado Ufer Ukraine|NEWTON SOWJETS York Lyrisch
1|Nietzsche COCA Psychisch ZUVOR|VÖGEL RÖMER Kurzform Taylor Köln
0|ADJUTANT Häufchen Strafverteidiger|STRAFVERTEIDIGER DREIJÄHRIGER
1|1908 FRANKFURT Soja NACHDEM|ARCHIVS TCP QUOTA Objekt
0|Kyrillisch wrang Byzantiner Khan|Fünfjährigen HEWLETT Ubuntu Yang
1|CHECKPOINT JUNGFRAU BOXEN|Täte km/h DPI FLUGZEUG
0|WRACK Akquise Twitter Udo Üppiger
1|AUFMACHT Erquickt NIETZSCHE
EOF
cat > "$WORK/text_8.txt" <<'EOF'
0|¡Hola! ¿Hay alguien en casa?|Tía Rosa, ¿está usted ahí?
0|El veloz murciélago hindú|comía feliz cardillo y kiwi.
0|La cigüeña tocaba el saxofón|detrás del palenque de paja.
0|Pensé que nunca volverías.|Ven, Tina, siéntate y cuéntame.
0|Vamos, tenemos que salir,|la tormenta se acerca.
0|¡No toques eso! Todavía quema.|Ten cuidado, te vas a quemar.
0|Mi hermano trabaja en el hospital;|conoce a todo el mundo.
0|ATENCIÓN: ALTO VOLTAJE
0|¿Me pasas la sal? Gracias, Pérez,|eres muy amable.
0|Llevan horas esperando...|nadie les ha dicho nada.
0|Jovencillo emponzoñado de whisky:|¡qué figurota exhibe!
0|¿Por qué haría alguien algo así?|No tiene ningún sentido.
0|No estoy enfadado; estoy agotado,|y hoy, francamente, no quiero hablar.
0|[Suena el teléfono]|Diga... Sí, soy la madre de Luis.
0|Compró 3 manzanas, 12 huevos|y una barra de pan por 4 €.
0|«¡Deprisa!», gritó el agente.|«Se nos acaba el tiempo.»
0|Escucha: pase lo que pase, seguid|juntos. También tú, Gilberto.
0|¿Dónde está la estación?|¿A la izquierda o a la derecha?
0|La reunión empieza a las 14:30|con el jefe y los seis directores.
0|SOLO SALIDA - PROHIBIDO ENTRAR|ADMINISTRACIÓN: VENTANILLA 3
0|Yo nunca dije eso, Arturo.|Me has entendido mal.
0|Sinceramente, creo que deberías|pedirle perdón primero.
0|¡Rápido! Coge las llaves y sígueme.
0|Qué día tan bonito; vamos a pasear|junto al río, ¿te apetece?
0|Muchísimas gracias por todo.|Tu ayuda ha sido muy importante.
0|¿Quién anda ahí? ¡Muéstrate!|Ni un paso más, o disparo.
0|[Cruje una ventana]|Tranquilo, es solo el viento.
0|Mi abuela nació en 1938,|justo antes de la guerra.
0|¿Dónde has puesto mis gafas?|Apaga la tele y ayúdame a buscar.
0|Cero, uno, dos... espera,|estoy contando las cajas.
0|¡No hablarás en serio! Otra vez no...
0|El examen fue dificilísimo:|solo aprobaron 6 de 40.
0|Me da igual, haz lo que quieras;|es tu vida, no la mía.
0|¡POLICÍA! ¡Abran ahora mismo!
0|Fue la mejor fiesta del verano,|y eso que no vino ni el rey.
0|Hay un 50 % de descuento|en todos los zapatos.
0|Increíble... ¡es justo|lo que yo quería!
0|¿Alguna vez has pilotado un avión?|No, nunca.
0|FARMACIA DE GUARDIA|ABIERTO LAS 24 HORAS
0|La señora Ibáñez vive en Cádiz,|cerca de la playa.
0|Mi cuñado guarda un pingüino|de peluche en el baño.
0|Quiere la boca exhausta vid, kiwi,|piña y fugaz jamón.
0|El búho y el ñandú duermen|bajo el árbol del parque.
0|¡Enhorabuena, Óscar! ¡Lo has logrado!
0|¿Fin? Quizá. O quizá no.
0|¡ATENCIÓN! SUELO MOJADO|NO PASE SIN AUTORIZACIÓN - 24 H
0|FARMACIA LÓPEZ: ABIERTO DE 9 A 21 H|JUEVES Y SÁBADOS: DE 7 A 16:30
0|ESTACIÓN DEL NORTE, ANDÉN 3|TREN EXPRESO A MÁLAGA: 18:45, VÍA 7
0|REBAJAS: 50 % EN ROPA DE NIÑO|ZAPATOS Y BOLSOS, ÚLTIMOS DÍAS
0|PELUQUERÍA WENDY, SIN CITA PREVIA|CORTE Y PEINADO: 12 €, NIÑOS 8 €
0|SE ALQUILA ÁTICO EXTERIOR CON WIFI|IÑAKI O WALTER: 916 403 275
0|FÚTBOL: ¡GOLAZO DE KIKE EN EL 89!|MADRID 3, VALENCIA 2. ¡QUÉ FINAL!
0|Tu hijo es muy listo, Teresa;|ese tipo de inteligencia no se olvida.
0|¡Qué lujo! La villa de mi familia|tiene piscina, biblioteca y jardín.
0|Dice ella que el libro es difícil,|pero el título me parece magnífico.
0|La ley es la ley, señor Vidal.|Usted debe elegir: pagar o ir a juicio.
0|El científico tiene un objetivo claro:|evitar que el virus se extienda.
0|¿Escribir una carta? Prefiero el texto|en el móvil; es más rápido y útil.
0|Tu éxito es mérito tuyo, Víctor.|Ahora, a divertirse: ¡a comer, a vivir!
0|¡Aviso! El vuelo a Lima se retrasa;|hay que verificar el certificado.
0|Mi hija tiene fiebre; voy a salir.|¿Tienes el teléfono de la clínica?
0|En la iglesia del pueblo hay un árbol|gigante; mi abuelo lo plantó en 1950.
0|Por favor, es muy interesante:|el equipo principal sube de nivel.
0|¿Verdad que el dibujo es bonito?|Lo hizo a su ritmo, sin advertir a nadie.
# From #65: words of /usr/share/dict/spanish (wspanish) and numbers, for the pairs that join
0|AMA ERRÓNEA VIVIR HAYA GRAVE|EGIPTO CHELÍN INFIERNO CAFÉ AÑO
0|REFRÁN ÁRBOL GENIO AHÍ TÍA Alfa|AIRE Hiel ENVÍO CURVA 4/4 Culpa
0|Maltés Afijo Energía INTÉRPRETE|INGLE CALVO DIGNO BURLA Vos
0|TÁCITO CAER ÍTEM ÉXITO ARMONÍA|Rica CAÍDA DINÁMICA Ira AÑEJO
0|CONMIGO HONRA REÑIR PERFIL Ajo|DANÉS ENERGÍA CIENTÍFICA Discípulo
0|DIÁLOGO ANDRÉS GRÁFICA Oír eh|época LÍMITE ENLACE EXACTA 4,44
0|Global Ilegal GÉNERO Epílogo|DISCÍPULO OÍR Ayer Vuelo
0|INNOVACIÓN RECIÉN LÁPIZ|SEGMENTO Yegua ANHELO VÁLIDA
0|Yunque Adjunto EPÍLOGO Débil Aire|Bolívar Chihuahua HÉROE REVÉS Área
0|Yate HÁBITO ALGORITMO BOXEO|LEÍBLE Atlántico Alhoz CUÁDRUPLE
0|Álbum BOLÍVAR CHIHUAHUA Axioma|Río Ensayista km/h AGÁ Dix CÓNYUGE
0|ATLÁNTICO Alrededor Adhesivo|EXHAUSTA Aljez CADÁVER Fútbol
0|GAÉLICO Kilo MAGDALENA|COMPAÑÍA Dieciséis HEXÁGONO
0|SUPERHOMBRE Quetzal KA Etnea
EOF

# The streams are drawn in parallel (most of the time goes to ImageMagick), each
# in its own work directory; logs are shown in stream order.
langs=()
pids=()
for s in "${streams[@]}"; do
    read -r n lang font ifont size fill outline halo <<< "$s"
    mkdir -p "$WORK/s$n"
    if ((n <= 4)); then
        python3 "$DATA/tools/train_grid.py" "$n" "$font" "$ifont" "$size" "$fill" "$outline" "$halo" \
            $((400 + 20 * n)) "$DATA" "$WORK/s$n" > "$WORK/s$n.log" 2>&1 &
    else
        python3 "$DATA/tools/train_text.py" "$n" "$font" "$ifont" "$size" "$fill" "$outline" "$halo" \
            $((410 + 20 * n)) "$DATA" "$WORK/s$n" < "$WORK/text_$n.txt" > "$WORK/s$n.log" 2>&1 &
    fi
    pids+=($!)
    langs+=("$lang")
done
failed=0
for i in "${!pids[@]}"; do
    wait "${pids[i]}" || failed=1
    cat "$WORK/s$((i + 1)).log"
done
((failed == 0)) || { echo "make_training_disc.sh: drawing a stream failed" >&2; exit 1; }

# Video just long enough for the longest stream: whole seconds, at least 0.3 s
# past the last stop (the subtitle PTS lag the video's by its 0.54 s start, so
# the picture runs on for over 0.8 s after the last subtitle goes away).
last=$(awk -F'\t' '$1 == "sub" && $4 > m { m = $4 } END { print m }' "$OUT"/truth_s*.tsv)
secs=$(((last + 300 + 999) / 1000))

export VIDEO_FORMAT=PAL
# Flat colour, no audio: the smallest stream dvdauthor takes.  Bit-exact so
# reruns give the same bytes.
ffmpeg -hide_banner -loglevel error -f lavfi -i "color=c=0x1c2a3a:s=720x576:r=25" -t "$secs" \
    -target pal-dvd -aspect 4:3 -an -fflags +bitexact -flags:v +bitexact -y "$WORK/train.mpg"

in="$WORK/train.mpg"
subs=""
for i in "${!langs[@]}"; do
    # spumux resolves image paths against the cwd; the XML names them relative to tests/data
    (cd "$DATA" && spumux -s "$i" "train/spumux_s$((i + 1)).xml") < "$in" > "$WORK/train.s$i.mpg" 2> "$WORK/spumux.log" ||
        { cat "$WORK/spumux.log" >&2; exit 1; }
    if grep -E '^(WARN|ERR)' "$WORK/spumux.log" >&2 || ! grep -q ' 0 subtitles skipped' "$WORK/spumux.log"; then
        echo "spumux complained on stream $((i + 1))" >&2; exit 1
    fi
    in="$WORK/train.s$i.mpg"
    subs+="   <subpicture lang=\"${langs[i]}\"/>"$'\n'
done

cat > "$WORK/train.xml" <<EOF
<dvdauthor dest="$WORK/train.dvd">
 <vmgm/>
 <titleset>
  <titles>
   <video format="pal" aspect="4:3"/>
$subs   <pgc>
    <vob file="$in"/>
   </pgc>
  </titles>
 </titleset>
</dvdauthor>
EOF
dvdauthor -x "$WORK/train.xml" > "$WORK/dvdauthor.log" 2>&1 || { cat "$WORK/dvdauthor.log" >&2; exit 1; }
if grep -E '^(WARN|ERR)' "$WORK/dvdauthor.log" >&2; then
    echo "dvdauthor complained on the training disc" >&2; exit 1
fi
mv "$WORK/train.dvd/VIDEO_TS" "$OUT/VIDEO_TS"

# Read the disc back and compare with the truth files, pixel for pixel.
for i in "${!langs[@]}"; do
    python3 "$DATA/tools/spu_probe.py" check "$OUT/VIDEO_TS/VTS_01_1.VOB" "$OUT/truth_s$((i + 1)).tsv" $((i + 1)) "$DATA"
done
