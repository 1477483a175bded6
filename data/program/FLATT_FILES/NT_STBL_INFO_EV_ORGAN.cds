<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="2"/>
<FIELD attrname="EVALUATE_ORGAN" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_ORGAN_ADDRESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_ORGAN_TEL_NO" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_ORGAN_URL" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="01" EVALUATE_ORGAN="一般財団法人 沿岸港湾技術評価センター" EVALUATE_ORGAN_ADDRESS="〒105-0000 東京都港区海岸一丁目0番0号" EVALUATE_ORGAN_TEL_NO="03-0000-4101" EVALUATE_ORGAN_URL="https://www.coastal-eval.example.jp/"/>
<ROW CD="02" EVALUATE_ORGAN="一般社団法人 海洋土木技術審査協会" EVALUATE_ORGAN_ADDRESS="〒103-0000 東京都中央区日本橋浜町二丁目0番0号" EVALUATE_ORGAN_TEL_NO="03-0000-4102" EVALUATE_ORGAN_URL="https://www.marine-civil.example.jp/"/>
<ROW CD="03" EVALUATE_ORGAN="一般財団法人 臨海地盤技術センター" EVALUATE_ORGAN_ADDRESS="〒231-0000 神奈川県横浜市中区海岸通三丁目0番地" EVALUATE_ORGAN_TEL_NO="045-000-4103" EVALUATE_ORGAN_URL="https://www.rinkai-jiban.example.jp/"/>
<ROW CD="04" EVALUATE_ORGAN="公益財団法人 みなと環境技術研究機構" EVALUATE_ORGAN_ADDRESS="〒552-0000 大阪府大阪市港区築港四丁目0番0号" EVALUATE_ORGAN_TEL_NO="06-0000-4104" EVALUATE_ORGAN_URL="https://www.minato-kankyo.example.jp/"/>
<ROW CD="05" EVALUATE_ORGAN="一般財団法人 空港施設技術評価センター" EVALUATE_ORGAN_ADDRESS="〒144-0000 東京都大田区羽田空港一丁目0番0号" EVALUATE_ORGAN_TEL_NO="03-0000-4105" EVALUATE_ORGAN_URL="https://www.airport-eval.example.jp/"/>
</ROWDATA>
</DATAPACKET>
