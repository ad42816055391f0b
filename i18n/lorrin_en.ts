<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<!-- The user interface's texts in English.  The windows' texts (the Tfrm contexts) and the
     core's (status, hints, lists, messages, help) are Japanese in the code; lorrin-cli's,
     rotateview's and QtClipboard's are English.  Every catalogue holds every text, a text
     in its own language translated as itself.  Qt's placeholders (%1, %2, ...) serve the
     core as well; a mnemonic is the letter after an ampersand. -->
<context>
    <name>TfrmMain</name>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>設定(&amp;C)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>基本設定(&amp;B)..</source>
        <translation>&amp;Basic settings...</translation>
    </message>
    <message>
        <source>2次元ｺｰﾄﾞ(&amp;2)...</source>
        <translation>&amp;2D codes...</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ(&amp;F)...</source>
        <translation>&amp;Font...</translation>
    </message>
    <message>
        <source>ｻｳﾝﾄﾞ(&amp;S)...</source>
        <translation>&amp;Sound...</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視(&amp;C)</source>
        <translation>&amp;Clipboard monitor</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ種の選択</source>
        <translation>Choose the barcode type</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ種</source>
        <translation>Barcode type</translation>
    </message>
    <message>
        <source>ｺｰﾄﾞ</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞにするｺｰﾄﾞ。Enterで描画してｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします</source>
        <translation>The code to draw as a barcode. Enter draws it and copies the picture to the clipboard</translation>
    </message>
    <message>
        <source>桁数</source>
        <translation>Length in bytes</translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙの向き</source>
        <translation>Label direction</translation>
    </message>
    <message>
        <source>画像を回す角度</source>
        <translation>The angle the picture is turned by</translation>
    </message>
    <message>
        <source>描画+ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ</source>
        <translation>Draw and copy to the clipboard</translation>
    </message>
</context>
<context>
    <name>TfrmSize</name>
    <message>
        <source>基本設定</source>
        <translation>Basic Settings</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ高さ</source>
        <translation>Bar height</translation>
    </message>
    <message>
        <source>ｶﾞｰﾄﾞﾊﾞｰ高さ増分</source>
        <translation>Guard bar extra</translation>
    </message>
    <message>
        <source>ﾅﾛｰﾊﾞｰ幅</source>
        <translation>Narrow bar</translation>
    </message>
    <message>
        <source>太/細ﾊﾞｰ幅比</source>
        <translation>Wide/narrow</translation>
    </message>
    <message>
        <source>ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ</source>
        <translation>Character gap</translation>
    </message>
    <message>
        <source>ﾊﾞｰの高さ(ﾋﾟｸｾﾙ数)</source>
        <translation>Height of the bars, in pixels</translation>
    </message>
    <message>
        <source>ｶﾞｰﾄﾞﾊﾞｰを他のﾊﾞｰより長くする分(ﾋﾟｸｾﾙ数)</source>
        <translation>How much longer the guard bars are than the others, in pixels</translation>
    </message>
    <message>
        <source>細いﾊﾞｰの幅(ﾋﾟｸｾﾙ数)</source>
        <translation>Width of a narrow bar, in pixels</translation>
    </message>
    <message>
        <source>太いﾊﾞｰの幅が細いﾊﾞｰの何倍か</source>
        <translation>Width of a wide bar, in narrow bar widths</translation>
    </message>
    <message>
        <source>ｷｬﾗｸﾀの間のすき間(細いﾊﾞｰの幅の何倍か)</source>
        <translation>Gap between characters, in narrow bar widths</translation>
    </message>
    <message>
        <source>数値はﾋﾟｸｾﾙ数で指定して下さい。</source>
        <translation>Sizes are in pixels.</translation>
    </message>
    <message>
        <source>ITF/NW7/C39時はﾁｪｯｸｻﾑを付ける</source>
        <translation>Check digit for ITF/NW7/C39</translation>
    </message>
    <message>
        <source>OCR文字を表示する</source>
        <translation>Show the readable line</translation>
    </message>
    <message>
        <source>OCR文字にﾁｪｯｸｻﾑやﾍｯﾀﾞを付加する</source>
        <translation>Line shows check and start/stop</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視機能をWPCコードに限定</source>
        <translation>Clipboard monitor: WPC codes only</translation>
    </message>
    <message>
        <source>ITF・NW7・Code39にﾁｪｯｸ文字を加える</source>
        <translation>Adds a check character to ITF, NW7 and Code39</translation>
    </message>
    <message>
        <source>ﾊﾞｰの下に読める文字を描く</source>
        <translation>Draws the readable text under the bars</translation>
    </message>
    <message>
        <source>読める文字にｽﾀｰﾄ/ｽﾄｯﾌﾟ文字やﾁｪｯｸ文字も含める</source>
        <translation>The readable line shows start/stop and check characters too</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視で数字と点だけの文字列をJAN/UPCにする。外すと upc@ などで始まる文字列を変換する</source>
        <translation>The clipboard monitor turns texts of digits and points into JAN/UPC; cleared, it converts texts that start with upc@ and the other prefixes</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmSound</name>
    <message>
        <source>ｻｳﾝﾄﾞ指定</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ成功時</source>
        <translation>On success</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ失敗時</source>
        <translation>On failure</translation>
    </message>
    <message>
        <source>ｸﾘｯｸで、指定された音ﾌｧｲﾙを再生します</source>
        <translation>Click to play the sound file</translation>
    </message>
    <message>
        <source>成功時の音の参照</source>
        <translation>Browse for the success sound</translation>
    </message>
    <message>
        <source>失敗時の音の参照</source>
        <translation>Browse for the failure sound</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ成功時に鳴らすWAVﾌｧｲﾙを選ぶ</source>
        <translation>Chooses the WAV file played when a copy succeeds</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ失敗時に鳴らすWAVﾌｧｲﾙを選ぶ</source>
        <translation>Chooses the WAV file played when a copy fails</translation>
    </message>
    <message>
        <source>鳴らすWAVﾌｧｲﾙ。空なら標準の音</source>
        <translation>The WAV file to play; empty for the desktop's alert sound</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ画像作成時に音を鳴らす</source>
        <translation>Play a sound on each picture</translation>
    </message>
    <message>
        <source>外すと音を鳴らさない</source>
        <translation>Cleared, no sound is played</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>WAVﾌｧｲﾙの指定</source>
        <translation>Choose a WAV File</translation>
    </message>
    <message>
        <source>WAVﾌｧｲﾙ(*.wav)</source>
        <translation>WAV files (*.wav)</translation>
    </message>
</context>
<context>
    <name>TfrmMatrix</name>
    <message>
        <source>2次元ｺｰﾄﾞ設定</source>
        <translation>2D Code Settings</translation>
    </message>
    <message>
        <source>QRｺｰﾄﾞ</source>
        <translation>QR Code</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾏﾄﾘｯｸｽ</source>
        <translation>Data Matrix</translation>
    </message>
    <message>
        <source>ｴﾗｰ訂正ﾚﾍﾞﾙ</source>
        <translation>ECC level</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>形状</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ列数</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>QRｺｰﾄﾞのｴﾗｰ訂正ﾚﾍﾞﾙ</source>
        <translation>QR Code error correction level</translation>
    </message>
    <message>
        <source>復元できる汚れ・欠けの割合</source>
        <translation>How much of the symbol may be soiled or missing</translation>
    </message>
    <message>
        <source>QRｺｰﾄﾞのﾊﾞｰｼﾞｮﾝ</source>
        <translation>QR Code version</translation>
    </message>
    <message>
        <source>自動: 文字が収まる最小のﾊﾞｰｼﾞｮﾝ</source>
        <translation>Auto: the smallest version that holds the text</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾏﾄﾘｯｸｽの形状</source>
        <translation>Data Matrix shape</translation>
    </message>
    <message>
        <source>正方形か長方形か</source>
        <translation>Square or rectangle</translation>
    </message>
    <message>
        <source>PDF417のｴﾗｰ訂正ﾚﾍﾞﾙ</source>
        <translation>PDF417 error correction level</translation>
    </message>
    <message>
        <source>自動: 文字数に応じた推奨ﾚﾍﾞﾙ</source>
        <translation>Auto: the level recommended for the length</translation>
    </message>
    <message>
        <source>PDF417のﾃﾞｰﾀ列数</source>
        <translation>PDF417 data columns</translation>
    </message>
    <message>
        <source>自動: 幅が高さのおよそ3倍</source>
        <translation>Auto: about three times as wide as high</translation>
    </message>
    <message>
        <source>日本語もUTF-8で符号化する</source>
        <translation>Japanese as UTF-8 too</translation>
    </message>
    <message>
        <source>外すと、日本語の文字はShift_JISの漢字ﾓｰﾄﾞで符号化します</source>
        <translation>Cleared, Japanese goes as Shift_JIS in kanji mode</translation>
    </message>
    <message>
        <source>2次元ｺｰﾄﾞの下にOCR文字を表示する</source>
        <translation>Show the readable line under 2D codes</translation>
    </message>
    <message>
        <source>QR・ﾃﾞｰﾀﾏﾄﾘｯｸｽ・PDF417の下に文字列を描く</source>
        <translation>Draws the text under QR Code, Data Matrix and PDF417 symbols</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>QtClipboard</name>
    <message>
        <source>the picture on the clipboard goes with the program: %1</source>
        <translation>the picture on the clipboard goes with the program: %1</translation>
    </message>
    <message>
        <source>keeping it needs an X display (XWayland on a Wayland session)</source>
        <translation>keeping it needs an X display (XWayland on a Wayland session)</translation>
    </message>
    <message>
        <source>the X display takes no second connection</source>
        <translation>the X display takes no second connection</translation>
    </message>
</context>
<context>
    <name>status</name>
    <message>
        <source>UPC-E+ｱﾄﾞｵﾝ(2)</source>
        <translation>UPC-E+add-on(2)</translation>
    </message>
    <message>
        <source>JAN(8)+ｱﾄﾞｵﾝ(2)</source>
        <translation>JAN(8)+add-on(2)</translation>
    </message>
    <message>
        <source>JAN(13)/UPC-A+ｱﾄﾞｵﾝ(2)</source>
        <translation>JAN(13)/UPC-A+add-on(2)</translation>
    </message>
    <message>
        <source>UPC-E+ｱﾄﾞｵﾝ(5)</source>
        <translation>UPC-E+add-on(5)</translation>
    </message>
    <message>
        <source>JAN(8)+ｱﾄﾞｵﾝ(5)</source>
        <translation>JAN(8)+add-on(5)</translation>
    </message>
    <message>
        <source>JAN(13)/UPC-A+ｱﾄﾞｵﾝ(5)</source>
        <translation>JAN(13)/UPC-A+add-on(5)</translation>
    </message>
    <message>
        <source>UPC系ﾀｲﾌﾟ判別不能</source>
        <translation>UPC type unknown</translation>
    </message>
    <message>
        <source>UPC系 ｴﾝｺｰﾄﾞｴﾗｰ</source>
        <translation>UPC encoding error</translation>
    </message>
    <message>
        <source>ITF ｴﾗｰ</source>
        <translation>ITF error</translation>
    </message>
    <message>
        <source>NW7 ｴﾗｰ</source>
        <translation>NW7 error</translation>
    </message>
    <message>
        <source>CODE39 ｴﾝｺｰﾄﾞｴﾗｰ</source>
        <translation>CODE39 encoding error</translation>
    </message>
    <message>
        <source>CODE128(ASCII) ｴﾗｰ</source>
        <translation>CODE128(ASCII) error</translation>
    </message>
    <message>
        <source>CODE128(Binary) ｴﾗｰ</source>
        <translation>CODE128(Binary) error</translation>
    </message>
    <message>
        <source>CODE93 ｴﾗｰ</source>
        <translation>CODE93 error</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀがありません</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>UTF-8 ではありません</source>
        <translation>not UTF-8</translation>
    </message>
    <message>
        <source>NUL 文字は使えません</source>
        <translation>NUL is not allowed</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀが長すぎます</source>
        <translation>data too long</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝが小さすぎます</source>
        <translation>version too small</translation>
    </message>
    <message>
        <source>未定義ｴﾗｰ</source>
        <translation>undefined error</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞに書き込めません</source>
        <translation>clipboard not writable</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ%1では小さすぎます</source>
        <translation>version %1 too small</translation>
    </message>
    <message>
        <source>(%1文字, 最大%2文字)</source>
        <translation>(%1 characters, at most %2)</translation>
    </message>
    <message>
        <source>(%1文字, 最大%2文字, ﾊﾞｰｼﾞｮﾝ%3以上)</source>
        <translation>(%1 characters, at most %2, version %3 or up)</translation>
    </message>
    <message>
        <source>設定ﾌｧｲﾙを読めません(標準の設定を使用)</source>
        <translation>settings file not read</translation>
    </message>
</context>
<context>
    <name>settings</name>
    <message>
        <source>not a plain file</source>
        <translation>not a plain file</translation>
    </message>
    <message>
        <source>larger than %1 MiB</source>
        <translation>larger than %1 MiB</translation>
    </message>
    <message>
        <source>settings are not saved</source>
        <translation>settings are not saved</translation>
    </message>
    <message>
        <source>settings are kept in %1</source>
        <translation>settings are kept in %1</translation>
    </message>
    <message>
        <source>%1 is left alone (%2); %3</source>
        <translation>%1 is left alone (%2); %3</translation>
    </message>
    <message>
        <source>another user's file</source>
        <translation>another user's file</translation>
    </message>
    <message>
        <source>beside an installed program</source>
        <translation>beside an installed program</translation>
    </message>
    <message>
        <source>read-only, in another user's folder</source>
        <translation>read-only, in another user's folder</translation>
    </message>
    <message>
        <source>%1 is not read (%2): the defaults are used, and the file is kept as it is</source>
        <translation>%1 is not read (%2): the defaults are used, and the file is kept as it is</translation>
    </message>
</context>
<context>
    <name>hints</name>
    <message>
        <source>UPC: 0～9 (短縮,標準,UPC-E,UPC-D,ｱﾄﾞｵﾝ2/5桁)</source>
        <translation>UPC: 0-9 (short, standard, UPC-E, UPC-D, add-on 2/5)</translation>
    </message>
    <message>
        <source>NW7: 0～9 - $ : / . + [start/end=A,B,C,D]</source>
        <translation>NW7: 0-9 and - $ : / . + [start/end=A,B,C,D]</translation>
    </message>
    <message>
        <source>Code39: A～Z 0～9 - . $ / + &amp; [start/end=*]</source>
        <translation>Code39: A-Z 0-9 and - . $ / + &amp; [start/end=*]</translation>
    </message>
    <message>
        <source>ITF: 0～9 偶数桁</source>
        <translation>ITF: 0-9, an even number of digits</translation>
    </message>
    <message>
        <source>Code128: A～Z a～z 記号多数</source>
        <translation>Code128: A-Z a-z and many symbols</translation>
    </message>
    <message>
        <source>Code128(b): [start A～Z]の後,16進2桁のASCII ｺｰﾄﾞ</source>
        <translation>Code128(b): [start A-Z], ASCII codes as 2 hex digits</translation>
    </message>
    <message>
        <source>Code93: A～Z a～z 0～9 - . $ / + &amp;</source>
        <translation>Code93: A-Z a-z 0-9 and - . $ / + &amp;</translation>
    </message>
    <message>
        <source>QR: 漢字 かな ｶﾅ 英数字 記号 改行 (Shift_JIS/UTF-8)</source>
        <translation>QR: any text, Japanese too, line ends (Shift_JIS/UTF-8)</translation>
    </message>
    <message>
        <source>DataMatrix: 英数字 記号 日本語 改行 (UTF-8)</source>
        <translation>DataMatrix: any text, Japanese too, line ends (UTF-8)</translation>
    </message>
    <message>
        <source>PDF417: 英数字 記号 日本語 改行 (UTF-8)</source>
        <translation>PDF417: any text, Japanese too, line ends (UTF-8)</translation>
    </message>
</context>
<context>
    <name>lists</name>
    <message>
        <source>   0度</source>
        <translation>   0°</translation>
    </message>
    <message>
        <source>  90度</source>
        <translation>  90°</translation>
    </message>
    <message>
        <source> 180度</source>
        <translation> 180°</translation>
    </message>
    <message>
        <source> 270度</source>
        <translation> 270°</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>正方形</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>長方形</source>
        <translation>Rectangle</translation>
    </message>
</context>
<context>
    <name>messages</name>
    <message>
        <source>'%1' は整数ではありません</source>
        <translation>'%1' is not a whole number</translation>
    </message>
    <message>
        <source>'%1' は長すぎます(%2ﾊﾞｲﾄまで)</source>
        <translation>'%1' is too long (%2 bytes at most)</translation>
    </message>
</context>
<context>
    <name>help</name>
    <message>
        <source>lorrin.html</source>
        <translation>lorrin.en.html</translation>
    </message>
</context>
<context>
    <name>lorrin-cli</name>
    <message>
        <source>usage: lorrin-cli [OPTIONS] CODE...          one picture per code
       lorrin-cli [OPTIONS] --batch FILE|-   one code per line
  -t, --type TYPE      JAN/UPC, NW-7, Code39, ITF, Code128A, Code128B, Code93, QR,
                       DataMatrix, PDF417 (any case, the dash optional, "jan" for the
                       first) or the list index 0-9
  -a, --angle DEG      0, 90, 180 or 270
  -o, --output FILE    .png, .bmp or .svg by its ending; '-' writes PNG to standard
                       output.  With several codes or --batch, a pattern: {n} is the
                       line or argument number, {code} the code.  Default: {code}.png
                       for one code, {n}-{code}.png for several
      --height N  --guard N  --narrow N  --wide N  --gap N
                       bar height, guard bar extra height, narrow width (pixels),
                       wide element and character gap (modules).  Scanners read
                       --wide 3 for NW-7, 2 or 3 for Code39 and ITF, --gap 1 to 5
                       for NW-7 and Code39; other values are refused
      --check | --no-check      the check character of NW-7, Code39 and ITF
      --text | --no-text        the readable line under the bars (and under a
                                two-dimensional symbol, where it is off by default)
      --full-text | --typed-text  the line with start/stop and check characters
      --font NAME  --font-size PT
      --ecc L|M|Q|H        QR error correction (default M)
      --ecc 2..8           PDF417 error correction (default: the recommended minimum)
      --qr-version N|auto  QR version 1 to 40 (default: the smallest that holds the text)
      --qr-utf8 | --qr-shift-jis  a Japanese text in QR as UTF-8, or (the default)
                           as Shift_JIS in kanji mode when Shift_JIS holds it
      --dm-shape square|rect      Data Matrix shape (default square)
      --pdf-columns N|auto PDF417 data columns 1 to 30 (default: about 3:1 wide)
                           --narrow is the module size of the two-dimensional codes
      --dpi N              resolution of the picture (default 96, at most 54546084):
                           PNG and BMP hold it, an SVG is sized by it to print alike
      --settings FILE      read defaults from FILE alone instead of lorrin's settings
  -j, --jobs N             draw a batch on N threads at most (default: one for each
                           processor lorrin-cli may use); the files are the same
      --widths             print ReadableText, ElementWidths and ModuleCount instead;
                           a two-dimensional symbol as WxH and a line of 1 (dark)
                           and 0 per row of modules
      --clipboard          put the one code's picture on the clipboard instead of a
                           file (PNG, BMP and SVG, at --dpi); it stays there after
                           lorrin-cli ends, until another program takes the clipboard.
                           Needs an X display (XWayland on a Wayland session)
  -h, --help   --version
A batch line may start with a clipboard prefix (upc@ nw7@ c39@ itf@ 128a@ 128b@ c93@
qr@ dm@ pdf@) that picks its symbology.  Reports name a setting by its option and its key in the
settings file, as --narrow (narrow=).  Messages are Japanese when the locale (the first
of LC_ALL, LC_MESSAGES and LANG that is set) is Japanese, English otherwise.
Exit status:
  0  every picture drawn
  1  a code was refused, or named the same file as an earlier one; the others drawn
  2  bad usage: an unknown option or value, an unreadable batch file, or a setting
     that makes no picture or no readable symbol; nothing more is drawn
  3  a picture could not be written (a missing or read-only folder, a full disk),
     or the clipboard could not take it; the run stops there
</source>
        <translation>usage: lorrin-cli [OPTIONS] CODE...          one picture per code
       lorrin-cli [OPTIONS] --batch FILE|-   one code per line
  -t, --type TYPE      JAN/UPC, NW-7, Code39, ITF, Code128A, Code128B, Code93, QR,
                       DataMatrix, PDF417 (any case, the dash optional, "jan" for the
                       first) or the list index 0-9
  -a, --angle DEG      0, 90, 180 or 270
  -o, --output FILE    .png, .bmp or .svg by its ending; '-' writes PNG to standard
                       output.  With several codes or --batch, a pattern: {n} is the
                       line or argument number, {code} the code.  Default: {code}.png
                       for one code, {n}-{code}.png for several
      --height N  --guard N  --narrow N  --wide N  --gap N
                       bar height, guard bar extra height, narrow width (pixels),
                       wide element and character gap (modules).  Scanners read
                       --wide 3 for NW-7, 2 or 3 for Code39 and ITF, --gap 1 to 5
                       for NW-7 and Code39; other values are refused
      --check | --no-check      the check character of NW-7, Code39 and ITF
      --text | --no-text        the readable line under the bars (and under a
                                two-dimensional symbol, where it is off by default)
      --full-text | --typed-text  the line with start/stop and check characters
      --font NAME  --font-size PT
      --ecc L|M|Q|H        QR error correction (default M)
      --ecc 2..8           PDF417 error correction (default: the recommended minimum)
      --qr-version N|auto  QR version 1 to 40 (default: the smallest that holds the text)
      --qr-utf8 | --qr-shift-jis  a Japanese text in QR as UTF-8, or (the default)
                           as Shift_JIS in kanji mode when Shift_JIS holds it
      --dm-shape square|rect      Data Matrix shape (default square)
      --pdf-columns N|auto PDF417 data columns 1 to 30 (default: about 3:1 wide)
                           --narrow is the module size of the two-dimensional codes
      --dpi N              resolution of the picture (default 96, at most 54546084):
                           PNG and BMP hold it, an SVG is sized by it to print alike
      --settings FILE      read defaults from FILE alone instead of lorrin's settings
  -j, --jobs N             draw a batch on N threads at most (default: one for each
                           processor lorrin-cli may use); the files are the same
      --widths             print ReadableText, ElementWidths and ModuleCount instead;
                           a two-dimensional symbol as WxH and a line of 1 (dark)
                           and 0 per row of modules
      --clipboard          put the one code's picture on the clipboard instead of a
                           file (PNG, BMP and SVG, at --dpi); it stays there after
                           lorrin-cli ends, until another program takes the clipboard.
                           Needs an X display (XWayland on a Wayland session)
  -h, --help   --version
A batch line may start with a clipboard prefix (upc@ nw7@ c39@ itf@ 128a@ 128b@ c93@
qr@ dm@ pdf@) that picks its symbology.  Reports name a setting by its option and its key in the
settings file, as --narrow (narrow=).  Messages are Japanese when the locale (the first
of LC_ALL, LC_MESSAGES and LANG that is set) is Japanese, English otherwise.
Exit status:
  0  every picture drawn
  1  a code was refused, or named the same file as an earlier one; the others drawn
  2  bad usage: an unknown option or value, an unreadable batch file, or a setting
     that makes no picture or no readable symbol; nothing more is drawn
  3  a picture could not be written (a missing or read-only folder, a full disk),
     or the clipboard could not take it; the run stops there
</translation>
    </message>
    <message>
        <source>%1
Try 'lorrin-cli --help'.</source>
        <translation>%1
Try 'lorrin-cli --help'.</translation>
    </message>
    <message>
        <source>no settings file %1</source>
        <translation>no settings file %1</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>%1: not a whole number: %2</source>
        <translation>%1: not a whole number: %2</translation>
    </message>
    <message>
        <source>unknown type: %1</source>
        <translation>unknown type: %1</translation>
    </message>
    <message>
        <source>angle must be 0, 90, 180 or 270: %1</source>
        <translation>angle must be 0, 90, 180 or 270: %1</translation>
    </message>
    <message>
        <source>--dpi must be 1 to %1: %2</source>
        <translation>--dpi must be 1 to %1: %2</translation>
    </message>
    <message>
        <source>--jobs must be 1 to %1: %2</source>
        <translation>--jobs must be 1 to %1: %2</translation>
    </message>
    <message>
        <source>--ecc must be L, M, Q or H (QR) or 2 to 8 (PDF417): %1</source>
        <translation>--ecc must be L, M, Q or H (QR) or 2 to 8 (PDF417): %1</translation>
    </message>
    <message>
        <source>%1 must be 1 to %2 or auto: %3</source>
        <translation>%1 must be 1 to %2 or auto: %3</translation>
    </message>
    <message>
        <source>--dm-shape must be square or rect: %1</source>
        <translation>--dm-shape must be square or rect: %1</translation>
    </message>
    <message>
        <source>unknown option: %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>give codes or --batch, not both</source>
        <translation>give codes or --batch, not both</translation>
    </message>
    <message>
        <source>no code given</source>
        <translation>no code given</translation>
    </message>
    <message>
        <source>--clipboard takes one code</source>
        <translation>--clipboard takes one code</translation>
    </message>
    <message>
        <source>give --clipboard or %1, not both</source>
        <translation>give --clipboard or %1, not both</translation>
    </message>
    <message>
        <source>output must end in .png, .bmp or .svg: %1</source>
        <translation>output must end in .png, .bmp or .svg: %1</translation>
    </message>
    <message>
        <source>several pictures need {n} or {code} in the output name</source>
        <translation>several pictures need {n} or {code} in the output name</translation>
    </message>
    <message>
        <source>argument %1</source>
        <translation>argument %1</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>same file as %1: %2</source>
        <translation>same file as %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>%1 cannot make a picture</source>
        <translation>%1 cannot make a picture</translation>
    </message>
    <message>
        <source>too long for a picture</source>
        <translation>too long for a picture</translation>
    </message>
    <message>
        <source>cannot put the picture on the clipboard: %1</source>
        <translation>cannot put the picture on the clipboard: %1</translation>
    </message>
    <message>
        <source>%1 of %2 codes</source>
        <translation>%1 of %2 codes</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>%1 gives no readable %2: it takes %3 modules</source>
        <translation>%1 gives no readable %2: it takes %3 modules</translation>
    </message>
</context>
<context>
    <name>rotateview::ViewerWindow</name>
    <message>
        <source>&amp;Transparent</source>
        <translation>&amp;Transparent</translation>
    </message>
    <message>
        <source>&amp;Monochrome</source>
        <translation>&amp;Monochrome</translation>
    </message>
    <message>
        <source>Se&amp;pia</source>
        <translation>Se&amp;pia</translation>
    </message>
    <message>
        <source>&amp;Negative</source>
        <translation>&amp;Negative</translation>
    </message>
    <message>
        <source>S&amp;ketch</source>
        <translation>S&amp;ketch</translation>
    </message>
    <message>
        <source>&amp;Clicks through background</source>
        <translation>&amp;Clicks through background</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Save...</translation>
    </message>
    <message>
        <source>P&amp;rint...</source>
        <translation>P&amp;rint...</translation>
    </message>
    <message>
        <source>Angle (Left/Right)</source>
        <translation>Angle (Left/Right)</translation>
    </message>
    <message>
        <source>Zoom (Up/Down)</source>
        <translation>Zoom (Up/Down)</translation>
    </message>
    <message>
        <source>See-through (0-7)</source>
        <translation>See-through (0-7)</translation>
    </message>
    <message>
        <source>%1.%2 degrees, %3 %, see-through %4/8%5</source>
        <translation>%1.%2 degrees, %3 %, see-through %4/8%5</translation>
    </message>
    <message>
        <source>click on the picture at %1,%2</source>
        <translation>click on the picture at %1,%2</translation>
    </message>
    <message>
        <source>click on the background at %1,%2</source>
        <translation>click on the background at %1,%2</translation>
    </message>
    <message>
        <source>Save the turned image</source>
        <translation>Save the turned image</translation>
    </message>
    <message>
        <source>Bitmaps (*.bmp)</source>
        <translation>Bitmaps (*.bmp)</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>Cannot save %1: %2</translation>
    </message>
    <message>
        <source>The printer could not be opened.</source>
        <translation>The printer could not be opened.</translation>
    </message>
</context>
<context>
    <name>rotateview</name>
    <message>
        <source>usage: rotateview FILE.bmp</source>
        <translation>usage: rotateview FILE.bmp</translation>
    </message>
    <message>
        <source>%1: not a bitmap the component can show</source>
        <translation>%1: not a bitmap the component can show</translation>
    </message>
</context>
</TS>
