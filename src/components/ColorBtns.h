// ColorBtns: TColor95Button, a speed button whose face is painted in one of
// eleven styles from a single colour; DrawButtonFace, the face painter; and the
// glyph machinery behind it: TButtonGlyph, TGlyphList and the shared TGlyphCache.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Buttons.h"
#include "framework/host/Control.h"
#include "framework/host/ImgList.h"
#include "rtl/Set.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plx {

class TClassInfo;
class TTimer;
struct TEnumInfo;

//! How a TColor95Button paints its face (see DrawButtonFace).
enum TClr95ButtonStyle : std::uint8_t {
    bsWin31, //!< a dark outline with rounded corners and a two-pixel bevel
    bsNew, //!< two one-pixel bevels
    bsEllipse, //!< an elliptic face with shaded arcs; the corners keep what was there
    bsTab, //!< a tab opening upwards
    bsIE4, //!< flat; an edge only when pressed, hovered or in the designer
    bsSideDownTab, //!< a tab opening downwards
    bsGlass, //!< a white face in outlines of the colour's shades
    bsFlat, //!< one one-pixel bevel
    bsOwnerDraw, //!< painted by OnOwnerDraw (bsNew without a handler)
    bsMicroposeGame, //!< a chamfered octagon in two-pixel shaded lines
    bsGradient, //!< horizontal gradient bands inside a one-pixel bevel
};

//! The state a button is painted in, in the order of the glyph picture's cells:
//! raised, disabled, pressed, and down as the chosen button of its group.
enum TButtonState : std::uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };
//! The behaviours a TColor95Button can have.
enum TButtonOption : std::uint8_t {
    boShowMouseFocus, //!< hover tint and the mouse-over sound
    boRepeatable, //!< clicks repeat while the button is held
    boDitherPattern, //!< a down button of a group shows a dithered face
    boAutoBlackWhiteText, //!< the caption is black on light colours, white on dark ones
};
//! A set of TButtonOption.
using TButtonOptions = TSet<TButtonOption>;
//! The number of cells side by side in a glyph picture, 1..4: up, disabled,
//! down, exclusive.
using TNumGlyphs = std::int32_t;
//! Paints the face of a bsOwnerDraw button; the rectangle the handler leaves in
//! btnRect is where the glyph and caption are then laid out.
using TClrBtnOwnerDrawEvent = std::function<void(TObject* sender, TCanvas& canvas, TRect& btnRect)>;

//! Paints a button face in client and returns the content rectangle left for
//! the glyph and caption. Every shade derives from color (system colours are
//! resolved); isDown draws the pressed face, whose content rectangle is one
//! pixel smaller on every side. The canvas's brush and pen stay as the style's
//! last step left them (a clear brush after bsEllipse, bsGlass and bsIE4, a
//! two-pixel pen after bsMicroposeGame); the face starts from a one-pixel solid
//! pen whatever the canvas had.
TRect DrawButtonFace(TCanvas& canvas, const TRect& client, TClr95ButtonStyle style, bool isDesigning, bool isDown,
    bool isMouseOver, TColor color);

//! The 8 x 8 dither pattern of a down button in color and its brightened shade,
//! in the unit's own pattern bitmap (refilled at every call, not a copy); null
//! while the unit is not started.
TBitmap* DitherBitmap(TColor color);

//! Equal-sized glyph images in reusable slots: adding takes the lowest free slot
//! and grows the list by one only when none is free; deleting frees a slot.
//! Count is the number of slots in use.
class TGlyphList : public TImageList {
public:
    //! An empty list of images of width x height.
    TGlyphList(std::int32_t width, std::int32_t height);

    //! Stores the image in the lowest free slot and returns the slot.
    std::int32_t Add(const TBitmap& image, const TBitmap* mask) override;
    //! Frees the slot (a free slot stays free); raises EInvalidOperation out of range.
    void Delete(std::int32_t index) override;
    //! The number of slots in use.
    [[nodiscard]] std::int32_t Count() const noexcept { return m_count; }
    //! Whether index is a slot in use; false out of range.
    [[nodiscard]] bool SlotUsed(std::int32_t index) const noexcept;

private:
    std::vector<bool> m_used;
    std::int32_t m_count { 0 };
};

//! One glyph list per cell size, shared by every button glyph of that size.
class TGlyphCache {
public:
    //! The list of that cell size, made and appended when there is none.
    [[nodiscard]] TGlyphList& ListForSize(std::int32_t width, std::int32_t height);
    //! Frees the list when none of its slots is in use.
    void ReleaseList(TGlyphList* list);
    //! Whether the cache holds no list.
    [[nodiscard]] bool Empty() const noexcept { return m_lists.empty(); }
    //! The number of lists held.
    [[nodiscard]] std::int32_t ListCount() const noexcept { return static_cast<std::int32_t>(m_lists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> m_lists;
};

//! The glyph cache of the unit: made with the first TButtonGlyph (or the first
//! state image after it was freed) and freed when a TButtonGlyph goes away
//! while it holds no list; null in between.
[[nodiscard]] TGlyphCache* GlyphCache() noexcept;
//! The number of state images made since the program started.
[[nodiscard]] std::uint64_t StateImagesMade() noexcept;

//! A button's glyph: the picture of NumGlyphs cells side by side and, made on
//! first need and kept until the picture or the cell count changes, one image
//! per button state in the shared list of the cell's size.
class TButtonGlyph : public TObject {
public:
    //! Where LayoutGlyphAndCaption puts the glyph's top-left corner and the caption.
    struct TPlacement {
        //! The glyph's top-left corner.
        TPoint glyphPos;
        //! The caption's rectangle.
        TRect textBounds;
    };

    TButtonGlyph();
    ~TButtonGlyph() override;

    //! The picture; loading or drawing into it releases the state images.
    [[nodiscard]] TBitmap& Picture() noexcept { return m_picture; }
    //! The picture.
    [[nodiscard]] const TBitmap& Picture() const noexcept { return m_picture; }
    //! Copies the bitmap. A picture whose width is a whole multiple of its height
    //! sets NumGlyphs to the quotient (1 when it exceeds 4); any other picture,
    //! an empty one included, keeps NumGlyphs.
    void SetGlyph(const TBitmap& value);
    //! The number of cells in the picture, 1..4.
    [[nodiscard]] TNumGlyphs NumGlyphs() const noexcept { return m_numGlyphs; }
    //! A new count (1..4; values above 4 count as 4, below 1 are ignored)
    //! releases the state images.
    void SetNumGlyphs(TNumGlyphs value);
    //! The picture's transparent colour, read whenever the picture changes.
    [[nodiscard]] TColor TransparentColor() const noexcept { return m_transparentColor; }
    //! The colour (resolved) the last MakeStateImage was given.
    [[nodiscard]] TColor FaceColor() const noexcept { return m_faceColor; }
    //! The shared list that holds the state images; null while none is made.
    [[nodiscard]] TGlyphList* GlyphList() const noexcept { return m_glyphList; }
    //! The slot of the image made for a state, -1 when none is made.
    [[nodiscard]] std::int32_t Index(TButtonState state) const noexcept { return m_indexes[state]; }
    //! Fires after the picture changed.
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

    //! Takes color as the face colour and returns the slot of the state's image,
    //! making it when it is not made yet; -1 when the glyph has no cell. The
    //! down state of a glyph of fewer than three cells shares the up image.
    std::int32_t MakeStateImage(TButtonState state, TColor color);
    //! Frees the state images' slots and gives the list back to the cache.
    void ReleaseImages();
    //! Places glyph and caption in client (see TButtonLayout): Margin is the
    //! distance from the edge on the glyph's side and Spacing the gap between
    //! them, -1 meaning "centre" for either or both.
    [[nodiscard]] TPlacement LayoutGlyphAndCaption(TCanvas& canvas, const TRect& client, const std::string& caption,
        TButtonLayout layout, std::int32_t margin, std::int32_t spacing) const;
    //! Draws the state's image at pos, its TransparentColor left out.
    void PaintGlyph(TCanvas& canvas, TPoint pos, TButtonState state);
    //! Draws the caption in textBounds: engraved when disabled, otherwise on one
    //! line centred, in black or white by the face colour when autoBlackWhite.
    void PaintCaption(TCanvas& canvas, const std::string& caption, const TRect& textBounds, TButtonState state,
        bool autoBlackWhite) const;
    //! Lays out, paints the glyph and the caption; returns the caption's bounds.
    TRect PaintGlyphAndCaption(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
        std::int32_t margin, std::int32_t spacing, TButtonState state, bool autoBlackWhite);

private:
    //! The size of one cell; (0, 0) when there is none.
    [[nodiscard]] TSize CellSize() const noexcept;
    void MakeImage(TBitmap& image, TButtonState state, TSize cell);
    void PictureChanged();

    TBitmap m_picture;
    TGlyphList* m_glyphList { nullptr };
    std::array<std::int32_t, 4> m_indexes { -1, -1, -1, -1 };
    TColor m_transparentColor { clOlive };
    TNumGlyphs m_numGlyphs { 1 };
    TNotifyEvent m_onChange;
    TColor m_faceColor { clBlack };
};

//! A speed button painted from one colour in one of eleven styles. It works as a
//! push button (GroupIndex 0), as one of a group of buttons with the same
//! GroupIndex of which at most one is down, or, with boRepeatable, as a button
//! that clicks again while held (after 500 ms, then every 100 ms). A new one is
//! 25 x 25 in its owner's colour (a form's; otherwise black), bsNew, with
//! boShowMouseFocus, boDitherPattern and boAutoBlackWhiteText.
//!
//! User handlers may free the button; it does not touch itself afterwards.
class TColor95Button : public TGraphicControl {
public:
    //! A button of 25 x 25 in its owner's colour (a form's; otherwise black).
    explicit TColor95Button(TComponent* owner);
    ~TColor95Button() override;

    //! \name Properties
    //! @{

    //! Whether the down button of a group may be raised by a click; every
    //! button of the group takes the value last set on any of them.
    [[nodiscard]] bool AllowAllUp() const noexcept { return m_allowAllUp; }
    //! A change is passed on to the group (see CMButtonPressed); the button is
    //! not repainted.
    void SetAllowAllUp(bool value);
    //! The button's group; 0 for a push button of its own.
    [[nodiscard]] std::int32_t GroupIndex() const noexcept { return m_groupIndex; }
    //! A change to a group other than 0 announces the button to that group,
    //! which takes its AllowAllUp and, when it is down, raises its other down
    //! button; the button itself is not repainted.
    void SetGroupIndex(std::int32_t value);
    //! Whether the button is down (only a button of a group stays down).
    [[nodiscard]] bool Down() const noexcept { return m_down; }
    //! Lowers or raises the button; a button without a group never stays down,
    //! and a down button stays down unless AllowAllUp. Lowering one raises the
    //! others of its group. A change calls Invalidate.
    void SetDown(bool value);
    //! The glyph's picture; loading or drawing into it calls Invalidate.
    [[nodiscard]] TBitmap& GetGlyph() noexcept { return m_glyph.Picture(); }
    //! Copies the bitmap into the glyph (NumGlyphs follows its shape, see
    //! TButtonGlyph::SetGlyph) and calls Invalidate.
    void SetGlyph(const TBitmap& value);
    //! Where the glyph sits beside the caption.
    [[nodiscard]] TButtonLayout Layout() const noexcept { return m_layout; }
    //! A change calls Invalidate.
    void SetLayout(TButtonLayout value);
    //! The sound (a WAV file or a package resource) played on a click; none
    //! when empty.
    [[nodiscard]] const std::string& SoundClick() const noexcept { return m_soundClick; }
    //! Stores the name; nothing is played or repainted.
    void SetSoundClick(const std::string& value) { m_soundClick = value; }
    //! The sound (a WAV file or a package resource) played when the pointer
    //! enters the button (see CMMouseEnter); none when empty.
    [[nodiscard]] const std::string& SoundMouseOver() const noexcept { return m_soundMouseOver; }
    //! Stores the name; nothing is played or repainted.
    void SetSoundMouseOver(const std::string& value) { m_soundMouseOver = value; }
    //! The distance of the glyph from the edge on its side; -1 centres glyph
    //! and caption together (see TButtonGlyph::LayoutGlyphAndCaption).
    [[nodiscard]] std::int32_t Margin() const noexcept { return m_margin; }
    //! Values below -1 are ignored; a change calls Invalidate.
    void SetMargin(std::int32_t value);
    //! The number of cells in the glyph's picture, 1..4.
    [[nodiscard]] TNumGlyphs GetNumGlyphs() const noexcept { return m_glyph.NumGlyphs(); }
    //! Values below 1 are ignored, values above 4 count as 4; a change calls
    //! Invalidate.
    void SetNumGlyphs(TNumGlyphs value);
    //! How the face is painted.
    [[nodiscard]] TClr95ButtonStyle Style() const noexcept { return m_style; }
    //! A change calls Repaint.
    void SetStyle(TClr95ButtonStyle value);
    //! The button's behaviours.
    [[nodiscard]] TButtonOptions Options() const noexcept { return m_options; }
    //! A change calls Invalidate.
    void SetOptions(TButtonOptions value);
    //! The gap between glyph and caption; -1 centres the caption in the room
    //! the glyph leaves (see TButtonGlyph::LayoutGlyphAndCaption).
    [[nodiscard]] std::int32_t Spacing() const noexcept { return m_spacing; }
    //! Stores any value; a change calls Invalidate.
    void SetSpacing(std::int32_t value);
    //! The handler that paints a bsOwnerDraw face.
    [[nodiscard]] const TClrBtnOwnerDrawEvent& OnOwnerDraw() const noexcept { return m_onOwnerDraw; }
    //! Sets the handler; nothing is repainted.
    void SetOnOwnerDraw(TClrBtnOwnerDrawEvent handler) { m_onOwnerDraw = std::move(handler); }
    //! @}

    //! \name Queries
    //! @{

    //! The state the button is painted in: bsDisabled when disabled (outside
    //! the designer), bsDown while a press shows it pressed, bsExclusive when
    //! down, otherwise bsUp.
    [[nodiscard]] TButtonState State() const noexcept { return m_state; }
    //! Whether the pointer is over the button; only set with boShowMouseFocus
    //! on an enabled button.
    [[nodiscard]] bool MouseOver() const noexcept { return m_mouseOver; }
    //! True from a left press until its release.
    [[nodiscard]] bool Tracking() const noexcept { return m_dragging; }
    //! The glyph, which paints the picture and the caption.
    [[nodiscard]] TButtonGlyph& ButtonGlyph() noexcept { return m_glyph; }
    //! @}

    //! Plays SoundClick, then fires OnClick.
    void Click() override;
    //! Makes the glyph's up image (disabled image when disabled) in Color.
    void Loaded() override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties in form-file order: AllowAllUp, GroupIndex,
    //! Down, Caption, Enabled, Font, Glyph, Layout, SoundClick, SoundMouseOver,
    //! Margin, NumGlyphs, Color, Style, Options, ParentFont, ParentShowHint,
    //! ShowHint, Spacing, Visible, OnOwnerDraw, OnClick, OnDblClick and the mouse
    //! events. Color, Style and Options have no default: they are always
    //! written. A NumGlyphs outside 1..4 in a form file raises EPropertyError.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of the TClr95ButtonStyle values, as form files store them.
    [[nodiscard]] static const TEnumInfo& StyleInfo();
    //! The names of the TButtonLayout values, as form files store them.
    [[nodiscard]] static const TEnumInfo& LayoutInfo();
    //! The names of the TButtonOption values, as form files store them.
    [[nodiscard]] static const TEnumInfo& OptionInfo();

protected:
    void Paint() override;
    //! OnMouseDown, then a left press on an enabled button starts tracking and,
    //! unless the button is down, shows it pressed (Repaint). With boRepeatable
    //! any press starts the repeat timer, whose clicks come only while the
    //! button shows pressed and holds the mouse.
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    //! OnMouseMove, then while tracking shows a button that is not down
    //! pressed when the pointer is inside and at rest when not (Repaint on a
    //! change).
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    //! OnMouseUp, then a release that ends tracking shows the button at rest
    //! and, inside it, clicks; a button of a group first toggles Down
    //! (SetDown). Every release stops the repeat timer.
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    //! Handled as a press (MouseDown with ssDouble); a button that is down
    //! then fires OnDblClick.
    void WMLButtonDblClk(TMessage& message) override;
    //! With boShowMouseFocus on an enabled button: sets MouseOver, plays
    //! SoundMouseOver and calls Invalidate.
    void CMMouseEnter(TMessage& message) override;
    //! Clears MouseOver and calls Invalidate.
    void CMMouseLeave(TMessage& message) override;
    //! Sets State to bsDisabled or the resting state, makes the glyph's image
    //! of it and calls Invalidate.
    void CMEnabledChanged(TMessage& message) override;
    //! Gives the glyph the new face colour (making the image of State) and
    //! calls Invalidate.
    void CMColorChanged(TMessage& message) override;
    //! Another colour button of this button's group announced itself (WParam:
    //! the group index; LParam: the sending control, a TControl*): this button
    //! takes its AllowAllUp and, when both are down, raises (Invalidate).
    void CMButtonPressed(TMessage& message) override;
    //! An accelerator of the caption clicks an enabled button and sets Result
    //! to 1; any other character goes to the inherited handler.
    void CMDialogChar(TMessage& message) override;

private:
    //! The state of a button at rest: exclusive when down, otherwise up.
    [[nodiscard]] TButtonState RestingState() const noexcept { return m_down ? bsExclusive : bsUp; }
    //! The press test: the bottom edge counts as inside, the right one does not.
    [[nodiscard]] bool Inside(std::int32_t x, std::int32_t y) const noexcept;
    void OnButtonRepeat();
    void StartRepeat();
    void UpdateExclusive();
    void GlyphChanged();
    void PaintDither(TCanvas& canvas, TRect& paintRect, TButtonState state);
    void PaintHoverTint(TCanvas& canvas, const TRect& paintRect, TButtonState state);

    std::int32_t m_groupIndex { 0 };
    TButtonGlyph m_glyph;
    bool m_down { false };
    bool m_dragging { false };
    bool m_allowAllUp { false };
    TButtonLayout m_layout { blGlyphLeft };
    std::int32_t m_spacing { 4 };
    std::int32_t m_margin { -1 };
    bool m_mouseOver { false };
    TClrBtnOwnerDrawEvent m_onOwnerDraw;
    TClr95ButtonStyle m_style { bsNew };
    std::string m_soundClick;
    std::string m_soundMouseOver;
    TButtonOptions m_options { boShowMouseFocus, boDitherPattern, boAutoBlackWhiteText };
    TButtonState m_state { bsUp };
};

//! The repeat timer all colour buttons share; null while the unit is not started.
[[nodiscard]] TTimer* RepeatTimer() noexcept;

//! Starts the unit: the shared repeat timer (disabled), the dither pattern from
//! the package's bitmap "CLRBTNPATTERN", and TColor95Button for form files.
//! FinalizeColorBtns undoes it, freeing the timer before the pattern.
void InitializeColorBtns();
//! Stops the unit on the call that balances the InitializeColorBtns calls:
//! unregisters TColor95Button and frees the repeat timer, then the pattern.
void FinalizeColorBtns();

} // namespace plx
