<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="7"/>
<FIELD attrname="GRP_TITLE5" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="0100101" GRP_TITLE5="ポンプ浚渫工"/>
<ROW CD="0100102" GRP_TITLE5="グラブ浚渫工"/>
<ROW CD="0100103" GRP_TITLE5="バックホウ浚渫工"/>
<ROW CD="0100104" GRP_TITLE5="汚濁防止工"/>
<ROW CD="0100201" GRP_TITLE5="海上埋立工"/>
<ROW CD="0100202" GRP_TITLE5="余水処理工"/>
<ROW CD="0100301" GRP_TITLE5="基礎捨石工"/>
<ROW CD="0100302" GRP_TITLE5="ケーソン製作・据付工"/>
<ROW CD="0100303" GRP_TITLE5="消波ブロック工"/>
<ROW CD="0100304" GRP_TITLE5="被覆・根固工"/>
<ROW CD="0100401" GRP_TITLE5="鋼矢板工"/>
<ROW CD="0100402" GRP_TITLE5="鋼管矢板工"/>
<ROW CD="0100403" GRP_TITLE5="裏込・裏埋工"/>
<ROW CD="0100404" GRP_TITLE5="上部工（岸壁）"/>
<ROW CD="0100501" GRP_TITLE5="鋼管杭工"/>
<ROW CD="0100502" GRP_TITLE5="上部工（桟橋）"/>
<ROW CD="0100601" GRP_TITLE5="護岸工"/>
<ROW CD="0100602" GRP_TITLE5="離岸堤・人工リーフ工"/>
<ROW CD="0100603" GRP_TITLE5="養浜工"/>
<ROW CD="0200101" GRP_TITLE5="海上深層混合処理工"/>
<ROW CD="0200102" GRP_TITLE5="陸上深層混合処理工"/>
<ROW CD="0200201" GRP_TITLE5="海上サンドコンパクションパイル工"/>
<ROW CD="0200202" GRP_TITLE5="陸上サンドコンパクションパイル工"/>
<ROW CD="0200301" GRP_TITLE5="サンドドレーン工"/>
<ROW CD="0200302" GRP_TITLE5="プラスチックボードドレーン工"/>
<ROW CD="0200401" GRP_TITLE5="置換工"/>
<ROW CD="0200402" GRP_TITLE5="軽量混合処理土工"/>
<ROW CD="0300101" GRP_TITLE5="アスファルト舗装工"/>
<ROW CD="0300102" GRP_TITLE5="コンクリート舗装工"/>
<ROW CD="0300103" GRP_TITLE5="路盤工"/>
<ROW CD="0300201" GRP_TITLE5="排水溝工"/>
<ROW CD="0300202" GRP_TITLE5="地下排水工"/>
<ROW CD="0300301" GRP_TITLE5="航空灯火設置工"/>
<ROW CD="0300302" GRP_TITLE5="標識・マーキング工"/>
<ROW CD="0400101" GRP_TITLE5="コンクリート製造・打設工"/>
<ROW CD="0400102" GRP_TITLE5="型枠・支保工"/>
<ROW CD="0400103" GRP_TITLE5="鉄筋工"/>
<ROW CD="0400201" GRP_TITLE5="仮締切工"/>
<ROW CD="0400202" GRP_TITLE5="作業足場・作業船"/>
<ROW CD="0400301" GRP_TITLE5="航行安全対策工"/>
<ROW CD="0400302" GRP_TITLE5="水質・騒音対策工"/>
<ROW CD="0500101" GRP_TITLE5="断面修復工"/>
<ROW CD="0500102" GRP_TITLE5="表面被覆・表面含浸工"/>
<ROW CD="0500103" GRP_TITLE5="ひび割れ補修工"/>
<ROW CD="0500201" GRP_TITLE5="電気防食工"/>
<ROW CD="0500202" GRP_TITLE5="被覆防食工"/>
<ROW CD="0500301" GRP_TITLE5="構造物点検"/>
<ROW CD="0500302" GRP_TITLE5="非破壊検査"/>
<ROW CD="0600101" GRP_TITLE5="深浅測量"/>
<ROW CD="0600102" GRP_TITLE5="地盤調査"/>
<ROW CD="0600201" GRP_TITLE5="作業船施工管理システム"/>
<ROW CD="0600202" GRP_TITLE5="水中可視化・遠隔操作"/>
</ROWDATA>
</DATAPACKET>
